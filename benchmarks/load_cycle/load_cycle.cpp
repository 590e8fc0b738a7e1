// The cold load cycle that a process pays when it shows a folder or a context
// menu: LoadLibrary, DllGetClassObject, CreateInstance, Release, FreeLibrary.
// Measured for a server DLL and for a minimal COM server built by the same
// toolchain, interleaved, with every system DLL that either imports loaded
// beforehand (a shell process has them loaded). Prints the medians, their
// ratio with its noise (the quartiles of the ratios of the cycles taken side
// by side), and the two files' sizes with the server's sections by size.
//
//   load_cycle.exe SERVER.dll MINIMAL.dll [CYCLES]
#include <windows.h>
#include <objbase.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "common/figures.h"

namespace {

// The directory extension's class; the minimal server answers any class.
constexpr CLSID kServerClass = {0x5E2B7C40, 0x1D93, 0x4A6F, {0x9C, 0x21, 0x7B, 0x4E, 0x0A, 0x8D, 0x3F, 0x16}};

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "load_cycle: %s\n", what.c_str());
  std::exit(1);
}

std::vector<char> ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) Fail("cannot read " + path);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

struct Section {
  std::string name;
  DWORD raw_size;
};

struct Image {
  std::vector<std::string> imports;  // DLL names
  std::vector<Section> sections;
  bool has_symbols = false;          // not stripped
};

// From the file's headers; the file is not loaded.
Image ReadImage(const std::string& path) {
  const std::vector<char> bytes = ReadFile(path);
  auto at = [&](std::size_t offset, std::size_t size) {
    if (offset > bytes.size() || size > bytes.size() - offset) Fail(path + " is not a complete image");
    return bytes.data() + offset;
  };
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(at(0, sizeof(IMAGE_DOS_HEADER)));
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS64*>(at(dos->e_lfanew, sizeof(IMAGE_NT_HEADERS64)));
  if (nt->Signature != IMAGE_NT_SIGNATURE || nt->OptionalHeader.Magic != IMAGE_NT_OPTIONAL_HDR64_MAGIC)
    Fail(path + " is not a 64-bit image");
  Image image;
  image.has_symbols = nt->FileHeader.PointerToSymbolTable != 0;
  const auto* sections = reinterpret_cast<const IMAGE_SECTION_HEADER*>(
      at(dos->e_lfanew + offsetof(IMAGE_NT_HEADERS64, OptionalHeader) + nt->FileHeader.SizeOfOptionalHeader,
         sizeof(IMAGE_SECTION_HEADER) * nt->FileHeader.NumberOfSections));
  for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i)
    image.sections.push_back(
        {std::string(reinterpret_cast<const char*>(sections[i].Name), strnlen(reinterpret_cast<const char*>(sections[i].Name), 8)),
         sections[i].SizeOfRawData});
  auto file_offset = [&](DWORD rva) -> std::size_t {
    for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i)
      if (rva >= sections[i].VirtualAddress && rva < sections[i].VirtualAddress + sections[i].SizeOfRawData)
        return rva - sections[i].VirtualAddress + sections[i].PointerToRawData;
    Fail(path + ": address outside every section");
  };
  const auto& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (directory.VirtualAddress == 0) return image;
  for (std::size_t offset = file_offset(directory.VirtualAddress);; offset += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
    const auto* descriptor = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(at(offset, sizeof(IMAGE_IMPORT_DESCRIPTOR)));
    if (descriptor->Name == 0) break;
    const char* name = at(file_offset(descriptor->Name), 1);
    image.imports.emplace_back(name, strnlen(name, bytes.data() + bytes.size() - name));
  }
  return image;
}

using GetClassObjectFunction = HRESULT WINAPI(REFCLSID, REFIID, void**);

// The phases of one cycle, in microseconds.
struct Phases {
  double load, class_object, instance, unload;
  double total() const { return load + class_object + instance + unload; }
};

Phases Cycle(const std::string& path) {
  LARGE_INTEGER frequency, t[5];
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&t[0]);
  const HMODULE module = LoadLibraryA(path.c_str());
  QueryPerformanceCounter(&t[1]);
  if (!module) Fail("cannot load " + path);
  auto* get_class_object =
      reinterpret_cast<GetClassObjectFunction*>(reinterpret_cast<void*>(GetProcAddress(module, "DllGetClassObject")));
  IClassFactory* factory = nullptr;
  if (!get_class_object || FAILED(get_class_object(kServerClass, IID_IClassFactory, reinterpret_cast<void**>(&factory))))
    Fail(path + ": no class object");
  QueryPerformanceCounter(&t[2]);
  IUnknown* object = nullptr;
  if (FAILED(factory->CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void**>(&object))))
    Fail(path + ": no instance");
  object->Release();
  factory->Release();
  QueryPerformanceCounter(&t[3]);
  FreeLibrary(module);
  QueryPerformanceCounter(&t[4]);
  if (GetModuleHandleA(path.c_str())) Fail(path + " stays loaded after FreeLibrary");
  auto us = [&](int from) {
    return static_cast<double>(t[from + 1].QuadPart - t[from].QuadPart) * 1e6 / static_cast<double>(frequency.QuadPart);
  };
  return {us(0), us(1), us(2), us(3)};
}

// The median of one figure over all cycles.
double Median(const std::vector<Phases>& cycles, double (*figure)(const Phases&)) {
  std::vector<double> values;
  for (const Phases& cycle : cycles) values.push_back(figure(cycle));
  return figures::Median(values);
}

void PrintMedians(const char* name, const std::vector<Phases>& cycles) {
  std::printf("  %-20s median %8.1f us  (load %.1f, class object %.1f, instance %.1f, unload %.1f)\n", name,
              Median(cycles, [](const Phases& p) { return p.total(); }), Median(cycles, [](const Phases& p) { return p.load; }),
              Median(cycles, [](const Phases& p) { return p.class_object; }),
              Median(cycles, [](const Phases& p) { return p.instance; }), Median(cycles, [](const Phases& p) { return p.unload; }));
}

double FileKilobytes(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) Fail("cannot read " + path);
  return static_cast<double>(data.nFileSizeLow) / 1024.0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) Fail("usage: load_cycle.exe SERVER.dll MINIMAL.dll [CYCLES]");
  const std::string server = argv[1], minimal = argv[2];
  const int cycles = argc > 3 ? std::atoi(argv[3]) : 400;
  if (cycles < 1) Fail("CYCLES must be at least 1");
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);

  const Image server_image = ReadImage(server), minimal_image = ReadImage(minimal);
  for (const Image* image : {&server_image, &minimal_image})
    for (const std::string& name : image->imports)
      if (!LoadLibraryA(name.c_str())) Fail("cannot hold " + name + " loaded");

  std::vector<Phases> server_cycles, minimal_cycles;
  for (int i = 0; i < cycles / 10 + 1; ++i) Cycle(server), Cycle(minimal);  // warm the file cache
  for (int i = 0; i < cycles; ++i) {
    server_cycles.push_back(Cycle(server));
    minimal_cycles.push_back(Cycle(minimal));
  }
  std::printf("cold load cycle (LoadLibrary, DllGetClassObject, CreateInstance, Release, FreeLibrary), %d cycles each\n",
              cycles);
  PrintMedians("server", server_cycles);
  PrintMedians("minimal COM server", minimal_cycles);
  auto total = [](const Phases& p) { return p.total(); };
  std::vector<double> ratios;
  for (int i = 0; i < cycles; ++i) ratios.push_back(server_cycles[i].total() / minimal_cycles[i].total());
  std::printf("  ratio %.2fx (noise %.2f-%.2f; goal: at most 1.3x)\n",
              Median(server_cycles, total) / Median(minimal_cycles, total), figures::Quantile(ratios, 0.25),
              figures::Quantile(ratios, 0.75));

  std::printf("size\n");
  std::printf("  %-20s %8.1f KB%s\n", "server", FileKilobytes(server), server_image.has_symbols ? " (not stripped)" : "");
  std::printf("  %-20s %8.1f KB%s\n", "minimal COM server", FileKilobytes(minimal),
              minimal_image.has_symbols ? " (not stripped)" : "");
  std::vector<Section> sections = server_image.sections;
  std::sort(sections.begin(), sections.end(), [](const Section& a, const Section& b) { return a.raw_size > b.raw_size; });
  std::printf("  server sections:");
  for (const Section& section : sections)
    if (section.raw_size) std::printf(" %s %.1f KB", section.name.c_str(), section.raw_size / 1024.0);
  std::printf("\n");
  CoUninitialize();
  return 0;
}

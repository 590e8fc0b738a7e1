# qm_stdcall_bytes: where the i686 import interception of the tests and of
# tools/try finds stdcall_bytes.inc, the argument bytes each system import
# pops, generated from the toolchain's import libraries. Empty on x86_64.
add_library(qm_stdcall_bytes INTERFACE)
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(generated ${PROJECT_BINARY_DIR}/stdcall_bytes)
  set(script ${PROJECT_SOURCE_DIR}/tests/win/harness/stdcall-bytes.sh)
  find_program(QM_NM ${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32-nm REQUIRED)
  add_custom_command(
    OUTPUT ${generated}/stdcall_bytes.inc
    COMMAND ${CMAKE_COMMAND} -E make_directory ${generated}
    COMMAND ${script} ${QM_NM} ${CMAKE_FIND_ROOT_PATH}/lib kernel32 user32 gdi32 advapi32 shell32 shlwapi ole32
            oleaut32 version comctl32 msi windowscodecs > ${generated}/stdcall_bytes.inc
    DEPENDS ${script}
    COMMENT "stdcall_bytes.inc")
  add_custom_target(qm_stdcall_bytes_table DEPENDS ${generated}/stdcall_bytes.inc)
  add_dependencies(qm_stdcall_bytes qm_stdcall_bytes_table)
  target_include_directories(qm_stdcall_bytes INTERFACE ${generated})
endif()

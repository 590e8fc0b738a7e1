# Lines of registry.awk that changed, each behind `sign`; a key's own line is
# left out when lines of its values follow.
function flush() { if (held != "") print sign held; held = "" }
{
  if (held != "" && index($0, held "  ") == 1) held = ""
  flush()
  if (index($0, "  ") == 0) held = $0; else print sign $0
}
END { flush() }

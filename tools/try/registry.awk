# A registry export (reg export, UTF-8) as one line per key and one per value,
# "key  value", so that two exports compare line by line.
/^\[/ { key = substr($0, 2, length($0) - 2); print key; next }
/^$/ || /^Windows Registry Editor/ { next }
{ print key "  " $0 }

# A registry export (reg export, UTF-8) as one line per key and one per value,
# "key  value", so that two exports compare line by line. Wine shows the one
# TypeLib key, which both views share, under Wow6432Node too: left out there.
/^\[/ { key = substr($0, 2, length($0) - 2); skip = tolower(key) ~ /\\wow6432node\\typelib/; if (!skip) print key; next }
skip { next }
/^$/ || /^Windows Registry Editor/ { next }
{ print key "  " $0 }

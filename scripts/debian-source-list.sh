#!/usr/bin/env bash
# Prints deb-src entries (deb822) for the Debian archives this machine already
# uses, taken from its own apt configuration: the same mirrors, suites,
# components and keys as its "deb" entries. Third-party repositories (those not
# signed with Debian's archive keys) are left out: most publish no sources.
set -euo pipefail

etc=${APT_ETC:-/etc/apt}
shopt -s nullglob
# deb822 files: copy each Debian stanza of type deb as type deb-src.
for file in "$etc"/sources.list.d/*.sources; do
  awk '
    function flush() {
      if (types ~ /(^|[ \t])deb([ \t]|$)/ && signed ~ /debian-archive/ && enabled !~ /^[ \t]*no/ && uris != "") {
        printf "Types: deb-src\nURIs:%s\nSuites:%s\nComponents:%s\nSigned-By:%s\n\n", uris, suites, components, signed
      }
      types = uris = suites = components = signed = enabled = ""
    }
    /^[ \t]*$/ { flush(); next }
    /^#/ { next }
    { key = tolower($1); sub(/^[^:]*:/, ""); }
    key == "types:" { types = $0 }
    key == "uris:" { uris = $0 }
    key == "suites:" { suites = $0 }
    key == "components:" { components = $0 }
    key == "signed-by:" { signed = $0 }
    key == "enabled:" { enabled = $0 }
    END { flush() }
  ' "$file"
done

# One-line files: "deb [options] URI SUITE COMPONENTS..." of Debian's archives.
for file in "$etc"/sources.list "$etc"/sources.list.d/*.list; do
  [ -f "$file" ] || continue
  awk '
    $1 != "deb" { next }
    {
      i = 2; options = ""
      if ($2 ~ /^\[/) { while (i <= NF && $i !~ /\]$/) { options = options " " $i; i++ } options = options " " $i; i++ }
      uri = $i; suite = $(i + 1); components = ""
      for (j = i + 2; j <= NF; j++) components = components " " $j
      if (options !~ /debian-archive/ && uri !~ /\/debian(-security)?\/?$/) next
      signed = ""
      if (match(options, /signed-by=[^] ]*/)) signed = "\nSigned-By: " substr(options, RSTART + 10, RLENGTH - 10)
      printf "Types: deb-src\nURIs: %s\nSuites: %s\nComponents:%s%s\n\n", uri, suite, components, signed
    }
  ' "$file"
done

# Sourced by the dependency scripts: fetch_debian_source PACKAGE DIR_GLOB
# unpacks Debian's original source tarball of PACKAGE in the current folder
# (once) and prints the folder it unpacked to.
fetch_debian_source() {
  local package=$1 pattern=$2 src
  src=$(find . -maxdepth 1 -type d -name "$pattern" | head -n 1)
  if [ -z "$src" ]; then
    echo "Fetching Debian's $package source package..." >&2
    apt-get source --download-only "$package" >/dev/null 2>&1 || apt-get source --download-only "$package" >&2
    tar xf "$(ls "${package}"_*.orig.tar.* | head -n 1)"
    src=$(find . -maxdepth 1 -type d -name "$pattern" | head -n 1)
  fi
  echo "$src"
}

# Sourced by the dependency scripts: fetch_debian_source PACKAGE DIR_GLOB
# unpacks Debian's original source tarball of PACKAGE in the current folder
# (once) and prints the folder it unpacked to.
fetch_debian_source() {
  local package=$1 pattern=$2 src version
  src=$(find . -maxdepth 1 -type d -name "$pattern" | head -n 1)
  if [ -z "$src" ]; then
    echo "Fetching Debian's $package source package..." >&2
    if ! apt-get source --download-only "$package" >/dev/null 2>&1; then
      # The newest version's source may be missing from its mirror (a
      # security update, say): any version of the same upstream source will do.
      for version in $(apt-cache madison "$package" | awk -F'|' '/Sources/ { gsub(/ /, "", $2); print $2 }'); do
        apt-get source --download-only "$package=$version" >/dev/null 2>&1 && break
      done
    fi
    if ! ls "${package}"_*.orig.tar.* >/dev/null 2>&1; then
      apt-get source --download-only "$package" >&2  # shows why
      return 1
    fi
    tar xf "$(ls "${package}"_*.orig.tar.* | head -n 1)"
    src=$(find . -maxdepth 1 -type d -name "$pattern" | head -n 1)
  fi
  echo "$src"
}

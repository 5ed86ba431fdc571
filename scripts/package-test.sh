#!/bin/bash
# Builds the Debian package from BUILD_FOLDER, installs it with apt-get, runs
# the installed program (--version and a batch listing of the example),
# checks the manual page and the logo, and removes the package again.
#   bash scripts/package-test.sh BUILD_FOLDER
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(readlink -f "${1:-$root/build}")
as_root=()
if ((EUID != 0)); then
  if command -v sudo > /dev/null && sudo -n true 2> /dev/null; then
    as_root=(sudo -n)
  else
    echo "skipped: installing a package needs root or sudo"; exit 0
  fi
fi
if dpkg-query -W -f='${Status}' pbzetrolin 2> /dev/null | grep -q 'install ok installed'; then
  echo "skipped: a pbzetrolin package is installed already; not touching it"; exit 0
fi
(cd "$build" && cpack -G DEB > /dev/null)
deb=$(ls -t "$build"/pbzetrolin_*.deb | head -1)
echo "package: $(basename "$deb") ($(stat -c %s "$deb") bytes)"
dpkg-deb --info "$deb"
cleanup() { "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get remove -y pbzetrolin > /dev/null 2>&1 || true; }
trap cleanup EXIT
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y "$deb" > /dev/null
version=$(/usr/bin/pbzetrolin --version)
echo "installed: $version"
[[ $version == "PB Zetrolin 0.20ß" ]] || { echo "FAILED: unexpected version '$version'"; exit 1; }
rows=$(/usr/bin/pbzetrolin --list procedures "$root/examples/main.pb" | wc -l)
echo "procedures listed by the installed program: $rows"
((rows > 0)) || { echo "FAILED: no procedures listed"; exit 1; }
for f in /usr/share/man/man1/pbzetrolin.1.gz /usr/share/doc/pbzetrolin/copyright \
         /usr/share/doc/pbzetrolin/README.md /usr/share/pbzetrolin/LinuxZetrolinLogo.png; do
  [ -f "$f" ] || { echo "FAILED: $f is missing"; exit 1; }
done
echo "ok: package installs, runs and is removed"

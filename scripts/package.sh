#!/usr/bin/env bash
# Installs what is missing, builds Tovik.exe (win64 preset) and its release
# packages, then lists them with size and SHA-256:
#   build/win64/packages/Tovik-<version>-setup.exe     per-user installer
#   build/win64/packages/Tovik-<version>-portable.zip  Tovik.exe and README.txt
#   build/win64/packages/winget/<version>/             winget manifests
# The version is the one of project() in CMakeLists.txt. TOVIK_DOWNLOAD_URL
# sets the address the release is published under (the manifests' InstallerUrl).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
exec </dev/null

bash scripts/install-deps.sh
configure=(cmake --preset win64)
[[ -n ${TOVIK_DOWNLOAD_URL:-} ]] && configure+=("-DTOVIK_DOWNLOAD_URL=$TOVIK_DOWNLOAD_URL")
"${configure[@]}" >/dev/null
cmake --build --preset win64 --target packages

cd build/win64/packages
find . -type f | sort | while read -r file; do
  printf '%-52s %8s bytes  %s\n' "${file#./}" "$(stat -c %s "$file")" "$(sha256sum "$file" | cut -d' ' -f1)"
done

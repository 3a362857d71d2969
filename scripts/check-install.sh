#!/usr/bin/env bash
# Installs a build into a scratch DESTDIR under a custom prefix and checks the package layout.
set -euo pipefail
build=$1
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
DESTDIR="$stage" cmake --install "$build" --prefix /opt/druvel-test >/dev/null
root="$stage/opt/druvel-test"
expect=(
  bin/druvel-cli
  share/applications/druvel.desktop
  share/metainfo/org.druvel.druvel.metainfo.xml
  share/man/man1/druvel.1.gz
  share/man/man1/druvel-cli.1.gz
  share/icons/hicolor/48x48/apps/druvel.png
  share/icons/hicolor/256x256/apps/druvel.png
  share/icons/hicolor/scalable/apps/druvel.svg
  share/doc/druvel/help/index.html
  share/doc/druvel/help/en/index.html
  share/druvel/druvel-demo.mid
)
[[ -x "$root/bin/druvel-cli" ]] || { echo "druvel-cli not installed"; exit 1; }
for f in "${expect[@]}"; do
  [[ -f "$root/$f" ]] || { echo "missing: $f"; exit 1; }
done
echo "installed layout complete under $root"

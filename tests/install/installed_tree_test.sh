#!/usr/bin/env bash
# `cmake --install` into a scratch prefix: every part of the installation is
# in its usual place, and the installed program, started from another
# folder, reads its data in prefix/share/quorvel (not in the source tree)
# and runs the file example of its help as printed.
#   installed_tree_test.sh <build folder>
set -euo pipefail
build=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
prefix=$tmp/prefix
cmake --install "$build" --prefix "$prefix" >"$tmp/install.log" 2>&1 || {
  cat "$tmp/install.log"
  exit 1
}
status=0
for file in bin/quorvel lib/quorvel/libquorvel_window.so share/quorvel/catalogue.txt \
  share/quorvel/Quorvel/quorvel.ini share/quorvel/quorvel.html share/quorvel/exemples/ntf_lambert2e.txt \
  share/quorvel/egm96_15.gtx share/man/man1/quorvel.1 share/applications/quorvel.desktop \
  share/icons/hicolor/scalable/apps/quorvel.svg; do
  [ -f "$prefix/$file" ] || { echo "not installed: $file"; status=1; }
done

mkdir "$tmp/elsewhere"
cd "$tmp/elsewhere"
quorvel=$prefix/bin/quorvel
run() { env -u ALLUSERSPROFILE HOME="$tmp/home" "$@" </dev/null; }

listing=$(run "$quorvel" --liste 4) || { echo "--liste 4 failed"; status=1; }
case "$listing" in
  "Catalogue : $prefix/share/quorvel/catalogue.txt"*) ;;
  *) echo "the installed program lists another catalogue:"; echo "$listing" | head -3; status=1 ;;
esac

example=$(run "$quorvel" --help | sed -n 's/^  quorvel \(-mode 1 .*\)$/\1/p')
case "$example" in
  *" $prefix/share/quorvel/exemples/ntf_lambert2e.txt "*) ;;
  *) echo "the help's file example does not name the installed examples: $example"; status=1 ;;
esac
eval "run \"\$quorvel\" $example" >"$tmp/run.txt" || {
  echo "the help's file example failed:"
  cat "$tmp/run.txt"
  status=1
}
if ! grep -q "Paris_NotreDame     652297.680    6861633.017" ntf_lambert2e_vers_lambert93.txt; then
  echo "the file example did not write Paris Notre-Dame in Lambert-93"
  status=1
fi
[ "$status" = 0 ] && echo "installed tree: complete, runs from $prefix"
exit "$status"

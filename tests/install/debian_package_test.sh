#!/usr/bin/env bash
# The Debian package that CPack makes of the build: its control data names
# the run-time libraries, it holds the installation and nothing of the build
# tree, and once unpacked into a scratch root the program found there runs
# from it with the data folder of that root.
#   debian_package_test.sh <build folder>
set -euo pipefail
build=$1
for tool in cpack dpkg-deb dpkg-shlibdeps; do
  if ! command -v "$tool" >/dev/null; then
    echo "$tool is missing (Debian packages cmake, dpkg-dev)"
    [ -n "${CI:-}" ] && exit 1
    exit 77
  fi
done
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cpack --config "$build/CPackConfig.cmake" -B "$tmp/package" >"$tmp/cpack.log" 2>&1 || {
  cat "$tmp/cpack.log"
  exit 1
}
debs=("$tmp"/package/*.deb)
[ "${#debs[@]}" = 1 ] && [ -f "${debs[0]}" ] || { echo "no single package: ${debs[*]}"; exit 1; }
deb=${debs[0]}
status=0

info=$(dpkg-deb --info "$deb")
depends=$(echo "$info" | sed -n 's/^ Depends: //p')
for library in libc6 libstdc++6 libtinyxml2 libqt6widgets6; do
  case "$depends" in
    *"$library"*) ;;
    *) echo "Depends does not name $library: $depends"; status=1 ;;
  esac
done

dpkg-deb --contents "$deb" | awk '{print $6}' >"$tmp/contents.txt"
for file in ./usr/bin/quorvel ./usr/lib/quorvel/libquorvel_window.so ./usr/share/quorvel/catalogue.txt \
  ./usr/share/quorvel/Quorvel/quorvel.ini ./usr/share/quorvel/quorvel.html \
  ./usr/share/quorvel/egm96_15.gtx ./usr/share/quorvel/exemples/ntf_lambert2e.txt \
  ./usr/share/man/man1/quorvel.1 ./usr/share/applications/quorvel.desktop; do
  grep -qxF "$file" "$tmp/contents.txt" || { echo "not in the package: $file"; status=1; }
done
if grep -E 'CMakeFiles|CMakeCache|cmake_install|_CPack_Packages|\.o$|\.a$|/log\.txt$|/log_precedent\.txt$|/build' \
  "$tmp/contents.txt"; then
  echo "the package holds the above files of the build tree"
  status=1
fi

root=$tmp/root
dpkg -x "$deb" "$root"
mkdir "$tmp/work"
cd "$tmp/work"
run() { env -u ALLUSERSPROFILE HOME="$tmp/home" "$@" </dev/null; }
version=$(run "$root/usr/bin/quorvel" --version) || status=1
[[ "$version" =~ ^Quorvel\ [0-9]+\.[0-9]+ ]] || { echo "installed --version: $version"; status=1; }
if ! run "$root/usr/bin/quorvel" -mode 1 -type 1 -sys1 1 -sys2 4 -typcoor1 3 27572 -typcoor2 3 2154 \
  -f1 1 "$root/usr/share/quorvel/exemples/ntf_lambert2e.txt" -f2 1 out.txt >"$tmp/run.txt"; then
  echo "the file run of the unpacked program failed:"
  cat "$tmp/run.txt"
  status=1
fi
grep -q "Paris_NotreDame     652297.680    6861633.017" out.txt ||
  { echo "the unpacked program did not write Paris Notre-Dame in Lambert-93"; status=1; }
listing=$(run "$root/usr/bin/quorvel" --liste 1) || status=1
[[ "$listing" == "Catalogue : $root/usr/share/quorvel/catalogue.txt"* ]] ||
  { echo "the unpacked program lists another catalogue: ${listing:0:200}"; status=1; }
[ "$status" = 0 ] && echo "package $(basename "$deb"): Depends: $depends"
exit "$status"

#!/usr/bin/env bash
# Checks a built Debian package of the manager:
#   scripts/check-package.sh build/quorvane-voicemail-manager_<version>_<arch>.deb
# - its control fields (section, maintainer, dependencies computed from the
#   binaries),
# - that it holds exactly the expected files (programs, desktop entry, icons,
#   AppStream metadata, manual pages, license and README) and nothing else,
# - the desktop entry and the metadata pass their validators, the manual
#   pages render without a warning and the programs start (--version, --help),
# - lintian finds no error and no warning the package does not override
#   (usr/share/lintian/overrides, each override with its reason).
# Prints one line per problem and exits 1 if there is any.
set -euo pipefail
deb=${1:?usage: check-package.sh PACKAGE.deb}
id=com.quorvane.VoicemailManager
package=quorvane-voicemail-manager
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
problems=0
problem() { echo "check-package: $*" >&2; problems=$((problems + 1)); }

field() { dpkg-deb -f "$deb" "$1"; }
[[ $(field Package) == "$package" ]] || problem "Package is '$(field Package)'"
[[ $(field Section) == comm ]] || problem "Section is '$(field Section)'"
[[ $(field Maintainer) == *"<"*@*">" ]] || problem "Maintainer has no address: '$(field Maintainer)'"
for lib in libqt6core6 libqt6widgets6 libqt6multimedia6 libcurl4 libc6; do
  [[ $(field Depends) == *"$lib "* ]] || problem "Depends lacks $lib: '$(field Depends)'"
done

dpkg-deb -x "$deb" "$root"
expected=(
  usr/bin/RiVaVaz usr/bin/vmbox usr/bin/fsmonitor
  "usr/share/applications/$id.desktop" "usr/share/metainfo/$id.metainfo.xml"
  "usr/share/icons/hicolor/scalable/apps/$id.svg"
  usr/share/man/man1/RiVaVaz.1.gz usr/share/man/man1/vmbox.1.gz usr/share/man/man1/fsmonitor.1.gz
  "usr/share/doc/$package/copyright" "usr/share/doc/$package/README.md"
  "usr/share/doc/$package/changelog.Debian.gz" "usr/share/lintian/overrides/$package"
  usr/share/bash-completion/completions/vmbox usr/share/zsh/vendor-completions/_vmbox
)
for size in 16 22 24 32 48 64 128 256; do
  expected+=("usr/share/icons/hicolor/${size}x${size}/apps/$id.png")
done
actual=$(cd "$root" && find . -type f -o -type l | sed 's|^\./||' | sort)
wanted=$(printf '%s\n' "${expected[@]}" | sort)
while read -r missing; do [[ -n $missing ]] && problem "missing: $missing"; done < <(comm -13 <(echo "$actual") <(echo "$wanted"))
while read -r extra; do [[ -n $extra ]] && problem "not expected: $extra"; done < <(comm -23 <(echo "$actual") <(echo "$wanted"))

desktop="$root/usr/share/applications/$id.desktop"
if [[ -f $desktop ]]; then
  desktop-file-validate "$desktop" || problem "desktop-file-validate failed"
  grep -qx "Icon=$id" "$desktop" || problem "desktop entry's icon is not $id"
fi
metainfo="$root/usr/share/metainfo/$id.metainfo.xml"
if [[ -f $metainfo ]]; then
  appstreamcli validate --no-net "$metainfo" >/dev/null || problem "appstreamcli validate failed: $(appstreamcli validate --no-net "$metainfo")"
fi
for page in "$root"/usr/share/man/man1/*.1.gz; do
  warnings=$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null) || problem "man cannot render $(basename "$page")"
  [[ -z $warnings ]] || problem "$(basename "$page"): $warnings"
done
for program in RiVaVaz vmbox fsmonitor; do
  exe="$root/usr/bin/$program"
  [[ -x $exe ]] || continue
  env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$exe" --help | grep -q "^Usage: $program" ||
    problem "$program --help does not print its usage"
done
completion="$root/usr/share/bash-completion/completions/vmbox"
if [[ -f $completion ]]; then
  offered=$(bash -c 'source "$1" && COMP_WORDS=(vmbox "") COMP_CWORD=1 && _vmbox && echo "${COMPREPLY[*]}"' _ "$completion")
  [[ $offered == "list export import add set delete greeting messages message purge"* ]] ||
    problem "the bash completion of vmbox offers '$offered'"
fi
version=$(field Version)
version=${version%-*}  # without the Debian revision
[[ $(env -u DISPLAY "$root/usr/bin/RiVaVaz" --version 2>&1) == "RiVaVaz $version" ]] ||
  problem "RiVaVaz --version does not say $version"
# Compiled and linked hardened: PIE, stack protector, read-only relocations
# bound at start. Not asked of each program: control-flow protection, which the
# linker drops when any object lacks it (this system's C start files do), and
# fortified functions, found only where the compiler could not prove a call
# safe; that the fortified build reached the package shows in one program
# calling a checked function.
fortified=0
for program in RiVaVaz vmbox fsmonitor; do
  exe=$root/usr/bin/$program
  [[ -x $exe ]] || continue
  hardening-check --quiet --nofortify --nocfprotection "$exe" >/dev/null ||
    problem "hardening-check: $(hardening-check --quiet --nofortify --nocfprotection "$exe" | tr '\n' ' ')"
  if [[ $(hardening-check "$exe") == *"Fortify Source functions: yes"* ]]; then fortified=$((fortified + 1)); fi
done
((fortified)) || problem "hardening-check: no program calls a fortified function"
# Overridden tags are not shown; information and pedantic notes are not asked for.
if findings=$(lintian --fail-on error,warning "$deb" 2>&1); then
  :
else
  problem "lintian: $findings"
fi

if ((problems)); then
  echo "check-package: $problems problem(s) in $deb" >&2
  exit 1
fi
echo "check-package: $deb is complete and valid"

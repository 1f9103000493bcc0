# What every installation of the programs must hold, whether from `cmake --install` or from the
# Debian package; sourced by install-test and package-test. Each check prints what is wrong and
# returns non-zero.

programs=(sculpt_lines sculpt_grey sculpt_glow sculpt_bands)
icon_sizes=(128 256)  # pixels a side

# check_files PREFIX PROGRAM_DIR: PREFIX holds exactly the programs in PROGRAM_DIR, their menu
# entries, software-centre metadata, icons and manual pages, and the package documentation;
# nothing else (no test programs).
check_files() {
  local prefix=$1 program_dir=$2 expected=() p s
  for p in "${programs[@]}"; do
    expected+=("$program_dir/$p" "share/applications/$p.desktop" "share/man/man6/$p.6.gz"
      "share/metainfo/$p.metainfo.xml")
    for s in "${icon_sizes[@]}"; do expected+=("share/icons/hicolor/${s}x$s/apps/$p.png"); done
  done
  expected+=(share/doc/sculpt/copyright share/doc/sculpt/changelog.gz)
  local want got
  want=$(printf '%s\n' "${expected[@]}" | sort)
  got=$(cd "$prefix" && find . ! -type d | sed 's|^\./||' | sort)
  if [ "$want" != "$got" ]; then
    echo "installed files differ from the expected ones (< expected, > installed):"
    diff <(echo "$want") <(echo "$got") | grep '^[<>]'
    return 1
  fi
  for p in "${programs[@]}"; do
    [ -x "$prefix/$program_dir/$p" ] || { echo "$program_dir/$p is not executable"; return 1; }
  done
}

# check_desktop PREFIX: every menu entry is valid and starts its own program with its own icon,
# matched to the window by its class.
check_desktop() {
  local prefix=$1 p entry
  for p in "${programs[@]}"; do
    entry=$prefix/share/applications/$p.desktop
    desktop-file-validate "$entry" || { echo "$entry is not a valid desktop entry"; return 1; }
    grep -qx "Exec=$p" "$entry" || { echo "$entry does not start $p"; return 1; }
    grep -qx "Icon=$p" "$entry" || { echo "$entry does not show the icon $p"; return 1; }
    grep -qx "StartupWMClass=$p" "$entry" || { echo "$entry does not match $p's window"; return 1; }
    grep -q "^Categories=Game;" "$entry" || { echo "$entry is not in the Game menu"; return 1; }
  done
}

# check_icons PREFIX: every icon is a PNG of its directory's size.
check_icons() {
  local prefix=$1 p s icon info
  for p in "${programs[@]}"; do
    for s in "${icon_sizes[@]}"; do
      icon=$prefix/share/icons/hicolor/${s}x$s/apps/$p.png
      info=$(file -b "$icon")
      [[ $info == "PNG image data, $s x $s,"* ]] ||
        { echo "$icon: $info; not a $s x $s PNG"; return 1; }
    done
  done
}

# check_manuals PREFIX: every manual page renders without a warning and tells the keys, what the
# program draws, and that it takes no options and writes no files.
check_manuals() {
  local prefix=$1 p page warnings text phrase
  for p in "${programs[@]}"; do
    page=$prefix/share/man/man6/$p.6.gz
    warnings=$(zcat "$page" | groff -man -Tutf8 -ww -z 2>&1)
    [ -z "$warnings" ] || { echo "$page: $warnings"; return 1; }
    text=$(zcat "$page" | groff -man -Tascii -P -cbou 2>/dev/null | tr -s ' \n' ' ')
    for phrase in "$p - " "SYNOPSIS $p " "Left, Right" "Up, Down" " F11 " " Esc Quit" \
      "has no options of its own" "reads and writes no files" "starts from"; do
      [[ $text == *"$phrase"* ]] || { echo "$page does not say '$phrase'"; return 1; }
    done
  done
}

# check_metainfo PREFIX: every program's software-centre metadata validates, with no error and no
# warning but those accepted in packaging/appstream-accepted, and names its own menu entry and
# program.
check_metainfo() {
  local prefix=$1 p file report tag
  local accepted=$(dirname "${BASH_SOURCE[0]}")/../../packaging/appstream-accepted
  for p in "${programs[@]}"; do
    file=$prefix/share/metainfo/$p.metainfo.xml
    # It fails on the accepted warnings too; the tags decide.
    report=$(appstreamcli validate --no-net --no-color "$file" 2>&1) || true
    [[ $report == *Validation* ]] || { echo "$file: not validated: $report"; return 1; }
    while read -r tag; do
      grep -qx "$tag" "$accepted" || { echo "$file: $report"; return 1; }
    done < <(sed -nE 's/^[EW]: [^ ]+ ([a-z0-9-]+).*/\1/p' <<<"$report")
    grep -q "<id>$p</id>" "$file" || { echo "$file is not $p's component"; return 1; }
    grep -q "<launchable type=\"desktop-id\">$p.desktop</launchable>" "$file" ||
      { echo "$file does not launch $p.desktop"; return 1; }
    grep -q "<binary>$p</binary>" "$file" || { echo "$file does not provide $p"; return 1; }
    grep -q "<project_license>MIT</project_license>" "$file" || { echo "$file names no licence"; return 1; }
  done
}

# check_licence PREFIX: the package documentation grants the project's licence, word for word.
check_licence() {
  local prefix=$1 root
  root=$(dirname "${BASH_SOURCE[0]}")/../..
  local copyright=$prefix/share/doc/sculpt/copyright
  grep -qx "License: Expat" "$copyright" || { echo "$copyright grants no licence"; return 1; }
  # Its licence text, unfolded, is the LICENSE file's from the permission on.
  diff <(sed -n '/^ Permission/,$p' "$copyright" | sed 's/^ //; s/^\.$//') \
    <(sed -n '/^Permission/,$p' "$root/LICENSE") >/dev/null ||
    { echo "$copyright does not carry the licence's text"; return 1; }
}

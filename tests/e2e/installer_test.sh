#!/usr/bin/env bash
# The setup program in a Wine prefix of its own, made fresh for each run: a silent install
# (files, service, uninstall entry, the menu started with its start button), a silent
# upgrade while the menu runs that leaves the user's files alone, the uninstall wizard, and
# a silent install under a Spanish user interface that ships the Spanish texts.
set -uo pipefail
source "$(dirname "$0")/../../tools/e2e.sh"
build=$(cd "$1" && pwd)
rm -rf "$build/installer-env"
e2e_init "$build" "$build/installer-env"

# The newest setup program: a build folder may keep one of an older version.
setup=$(ls -t "$build"/Orvella-*-setup.exe | head -1)
program_folder="$WINEPREFIX/drive_c/Program Files/Orvella"
data_folder="$WINEPREFIX/drive_c/users/$(id -un)/AppData/Local/TVRA"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Orvella'
programs=(tvra.exe hallet.dll TVRAService.exe brisel.exe TVRAUninstaller.exe)

# An English user interface unless a step asks for another, whatever the caller's locale.
run_setup() { env LC_ALL=C.UTF-8 wine "$setup" /S </dev/null >>"$E2E_WORK/setup.out" 2>&1; }
reg_value() {  # KEY NAME: the value's data as reg prints it
  wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' |
    sed -n "s/^ *$2 *REG_[A-Z_]* *//p"
}
value_is() { test "$(reg_value "$1" "$2")" = "$3"; }
service_state() { wine sc query TVRAService 2>/dev/null | tr -d '\r' | awk '/STATE/{print $4}'; }
service_runs() { test "$(service_state)" = RUNNING; }
service_gone() { ! wine sc query TVRAService >/dev/null 2>&1; }
key_gone() { ! wine reg query "$1" >/dev/null 2>&1; }
window_appears() { e2e_wait_window "$1" 20000 >/dev/null; }
menu_pid() { e2e_probe find TVRA_MainWindow | cut -d' ' -f2; }
menu_runs_anew() { local pid; pid=$(menu_pid); test -n "$pid" -a "$pid" != "$1"; }
button_in_shell() { test "$(e2e_probe find MyStartButton | cut -d' ' -f2)" = "$shell_pid"; }
has_file() { test -s "$1"; }
# Whether a live process maps the file (a Wine process maps a DLL by its Unix path).
mapped() { grep -qF "$1" /proc/[0-9]*/maps 2>/dev/null; }
# Files to delete at the next restart are listed as "\??\PATH\0" followed by an empty target.
pending_removals() {
  reg_value 'HKLM\System\CurrentControlSet\Control\Session Manager' PendingFileRenameOperations
}
pending_removal() { grep -qF "\\??\\C:\\Program Files\\Orvella$1\\0" <<<"$(pending_removals)"; }
# The files the setup put aside: each is to go at the next restart and is still in use.
set_aside_in_use() {
  local f found=1
  for f in "$program_folder"/ns*.tmp; do
    [ -e "$f" ] || continue
    found=0
    pending_removal "\\$(basename "$f")" && mapped "$f" || return 1
  done
  return $found
}
# What the wizard's script leaves of the install folder besides files in use.
leftovers_not_in_use() {
  local f
  while IFS= read -r f; do
    mapped "$program_folder/$f" || echo "$f"
  done < <(cd "$program_folder" && find . -type f | sed 's|^\./||')
}
gone_or_mapped() { ! test -e "$1" || mapped "$1"; }
# Whole output first: with pipefail, grep -q ending early would fail the pipe behind it.
unicode_file() { iconv -f UTF-16 -t UTF-8 "$1" | tr -d '\r'; }
defaults_say() { grep -qxF "$1" <<<"$(unicode_file "$program_folder/settings_default.ini")"; }
setting_is() { grep -qxF "$1" <<<"$(unicode_file "$data_folder/settings.ini")"; }
gone() { ! kill -0 "$1" 2>/dev/null; }
# The wizard waits ten seconds between its steps; a minute is ample.
ended() { e2e_eventually_within 60 gone "$1"; }
user_files_digest() { (cd "$data_folder" && md5sum settings.ini sort.txt Mine.TVRAtheme); }

e2e_start_shell
shell_pid=$(e2e_shell_log | awk '/^ready /{print $3}')

# ---- First install ----
e2e_check "the silent install succeeds" run_setup
for f in "${programs[@]}" settings_default.ini LICENSE.txt images/start-normal.png images/select1.png; do
  e2e_check "it installs $f" has_file "$program_folder/$f"
done
e2e_check "the English defaults by default" defaults_say 'LocalMenuOptions=Settings...'
e2e_check "the service runs" service_runs
# Wine's sc has no "qc"; the service manager keeps the configuration under this key.
service_key='HKLM\System\CurrentControlSet\Services\TVRAService'
e2e_check "the service's path is quoted" \
  value_is "$service_key" ImagePath '"C:\Program Files\Orvella\TVRAService.exe"'
e2e_check "the service starts automatically" value_is "$service_key" Start 0x2
while IFS='|' read -r name data; do
  e2e_check "the uninstall entry's $name" value_is "$uninstall_key" "$name" "$data"
done <<'EOF'
DisplayName|Orvella
DisplayVersion|4.08.5
Publisher|The Orvella developers
UninstallString|"C:\Program Files\Orvella\TVRAUninstaller.exe"
DisplayIcon|"C:\Program Files\Orvella\tvra.exe",0
InstallLocation|C:\Program Files\Orvella
NoModify|0x1
NoRepair|0x1
EOF
size=$(reg_value "$uninstall_key" EstimatedSize)
e2e_check "the entry's size is the folder's in KB ($size)" \
  test $((size)) -ge $(($(du -sk "$program_folder" | cut -f1) * 9 / 10))
e2e_check "the setup starts the menu" window_appears TVRA_MainWindow
e2e_check "which gets a start button into the shell" e2e_eventually button_in_shell
e2e_check "and writes the user's settings" e2e_eventually has_file "$data_folder/settings.ini"

# ---- Upgrade while the menu runs ----
printf 'Programs\\Mine.lnk\r\n' >"$data_folder/sort.txt"
printf 'MenuStyle=2\r\n' >"$data_folder/Mine.TVRAtheme"
digest_before=$(user_files_digest)
old_menu=$(menu_pid)
e2e_check "the shell maps the hook library before the upgrade" mapped "$program_folder/hallet.dll"
e2e_check "an upgrade while the menu and its hook run succeeds" run_setup
e2e_check "the menu was ended and started anew" e2e_eventually menu_runs_anew "$old_menu"
e2e_check "with its start button" e2e_eventually button_in_shell
e2e_check "the user's settings, order and theme are byte-identical" \
  test "$(user_files_digest)" = "$digest_before"
e2e_check "the set-aside hook library, still in use, goes at the next restart" set_aside_in_use
e2e_check "the service was re-created and runs" service_runs
e2e_check "the service's path is still quoted" \
  value_is "$service_key" ImagePath '"C:\Program Files\Orvella\TVRAService.exe"'

# ---- Uninstall: Uninstall, then Finish (posted behind it, handled once the steps end) ----
e2e_start uninstaller "$program_folder/TVRAUninstaller.exe"
e2e_check "the uninstall wizard opens" window_appears '#32770'
e2e_probe post '#32770' 273 101 0 >/dev/null
e2e_probe post '#32770' 273 2 0 >/dev/null
e2e_check "the wizard ends at Finish" ended "$E2E_PID_uninstaller"
e2e_check "the clean-up script ran to its end" \
  e2e_eventually test ! -e "$data_folder/../uninstallorvella.bat"
e2e_check "the menu has ended" e2e_probe gone TVRA_MainWindow 10000
e2e_check "no service is left" e2e_eventually service_gone
e2e_check "no uninstall entry is left" key_gone "$uninstall_key"
for f in "${programs[@]}" settings_default.ini; do
  e2e_check "$f is gone or mapped by a live process" gone_or_mapped "$program_folder/$f"
done
left=$(leftovers_not_in_use)
e2e_check "no other program file is left that no process uses (${left:-none})" test -z "$left"
e2e_check "it is removed at the next restart" pending_removal '\hallet.dll'
e2e_check "and so is the folder" pending_removal ""
e2e_check "the user's settings stay" has_file "$data_folder/settings.ini"

# ---- Spanish: a user interface in Spanish picks the Spanish defaults ----
rm -rf "$data_folder"
e2e_check "a silent install under a Spanish interface succeeds" \
  env LC_ALL=es_ES.UTF-8 LANG=es_ES.UTF-8 wine "$setup" /S
e2e_check "its first start writes settings" e2e_eventually has_file "$data_folder/settings.ini"
e2e_check "with the Spanish settings text" e2e_eventually setting_is 'LocalMenuOptions=Configuración...'
e2e_check "and the Spanish log-off text" setting_is 'LocalLogout=Cerrar la sesión de %s...'
e2e_probe post TVRA_MainWindow 1127 >/dev/null
e2e_check "the menu ends on request" e2e_probe gone TVRA_MainWindow 10000

e2e_finish

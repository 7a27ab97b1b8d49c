# Sourced by the setup scripts (tools/setup.sh, tools/windows/setup.sh):
# installs the Debian packages that are missing.
#
# install_missing_packages WHO HINT_OPTIONS PACKAGE...
#   WHO names what needs the packages in the message ("Duskmatch").
#   HINT_OPTIONS are extra apt-get install options for the command shown to
#   a user who is not root ("" for none).
# Returns 0 when every package is installed or has just been installed; as
# a user other than root it prints the command to run and returns 1.
install_missing_packages() {
  local who=$1 hint_options=$2
  shift 2
  local missing="" p
  for p in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
      missing="$missing $p"
    fi
  done
  if [ -z "$missing" ]; then
    return 0
  fi
  if [ "$(id -u)" -ne 0 ]; then
    echo "$who needs these Debian packages:$missing"
    echo "Install them with:"
    echo "  sudo apt-get update && sudo apt-get install -y${hint_options:+ $hint_options}$missing"
    return 1
  fi
  echo "Installing:$missing"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update
  apt-get install -y --no-install-recommends $missing
}

# Shared by run.sh, test.sh and bench.sh: installs what the build needs on
# Debian 12 when it is missing, then configures and builds into a folder.
set -euo pipefail

tolvex_packages=(cmake g++ make qt6-base-dev qt6-base-dev-tools qt6-svg-dev
                 libexiv2-dev libexiv2-27 libtag1-dev libavformat-dev libpcre2-dev libicu-dev libmimalloc-dev libxxhash-dev
                 libgl-dev libxcb1-dev libbenchmark-dev xvfb xauth fonts-dejavu-core fonts-liberation2
                 fusefat dosfstools exfat-fuse exfatprogs sshfs openssh-server
                 libqt6svg6 qt6-qpa-plugins librsvg2-bin desktop-file-utils appstream dpkg-dev file
                 man-db lintian python3-gi gir1.2-gtk-3.0 libxtst6
                 sway qt6-wayland libwayland-dev bash-completion zsh fish)

tolvex_install_missing() {
  local missing=()
  for p in "${tolvex_packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  echo "Installing: ${missing[*]}"
  $sudo apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y "${missing[@]}"
}

# tolvex_build BUILD_DIR [cmake options...]; TOLVEX_TARGET builds one target only.
tolvex_build() {
  local dir=$1; shift
  cmake -S . -B "$dir" "$@"
  cmake --build "$dir" -j2 ${TOLVEX_TARGET:+--target "$TOLVEX_TARGET"}
}

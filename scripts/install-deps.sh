#!/usr/bin/env bash
# Installs every Debian package that building, running and testing Tervana needs.
# Idempotent: packages already present are left alone, and apt is not touched at all
# when nothing is missing.
set -euo pipefail

PACKAGES=(
  build-essential cmake pkg-config git
  # ThreadSanitizer's runtime, for the second pass of the thread tests.
  libtsan2
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  qt6-base-dev libqt6opengl6-dev libqt6svg6 qt6-qpa-plugins qt6-translations-l10n
  libqcustomplot-dev
  libgsf-1-dev
  # Replaced files keep their access control lists.
  libacl1-dev
  libmodbus-dev
  libchm-dev
  fp-utils
  socat xvfb xauth x11-utils
  poppler-utils
  qpdf unrtf libxml2-utils fonts-liberation
  python3-xlrd gnumeric
  python3
  fonts-dejavu-core
  python3
  # Readers of the plain export formats in the tests.
  python3-dbfread gnumeric texlive-latex-base
  # Type 1 fonts of LaTeX's T1 encoding, so pdftotext reads back what the LaTeX export typesets.
  cm-super-minimal
  # The metrics of the fonts metric-compatible with the standard PDF fonts, and the glyph list,
  # that the PDF width check compares the declared widths with.
  fonts-urw-base35 texlive-base
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ "${#missing[@]}" -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"

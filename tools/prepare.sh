# Sourced by the README's commands: installs what is missing, then brings in
# the build, display and Wine helpers.
set -euo pipefail
tools=$(dirname "${BASH_SOURCE[0]}")
bash "$tools/setup.sh"
source "$tools/build.sh"
source "$tools/xvfb.sh"
source "$tools/wine-prefix.sh"

# Where the third-party libraries of one MinGW target live (sourced by the scripts that build or find them).
# ORVANE_DEPS_PREFIX names the 32-bit prefix, the deliverables' own; the 64-bit one, for machines that cannot run
# 32-bit programs, sits beside it.
orvane_deps_prefix() { # i686|x86_64
  local base=${ORVANE_DEPS_PREFIX:-/opt/orvane-deps}
  if [ "$1" = i686 ]; then echo "$base"; else echo "$base-$1"; fi
}

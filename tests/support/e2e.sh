# What the end-to-end scripts share, sourced by them: a failure, polling,
# and the processes they start, all ended on any way out.

pids=()
work=$(mktemp -d)
# Extra clean-up a script wants before its processes are ended.
e2e_cleanup_hook() { :; }
e2e_cleanup() {
  local pid
  e2e_cleanup_hook
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap e2e_cleanup EXIT
trap 'exit 1' INT TERM

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# Polls a command until it succeeds: false after $wait_seconds (10).
wait_for() {
  local deadline=$((SECONDS + ${wait_seconds:-10}))
  until "$@"; do
    ((SECONDS < deadline)) || return 1
    sleep 0.05
  done
}

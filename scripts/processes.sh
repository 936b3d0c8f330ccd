# Sourced by the scripts that start programs of their own and must stop them, also on failure.

# running PID: the process has not ended (one that ended stays a zombie until it is waited for,
# so its id is not given to another process meanwhile).
running() { ps -o stat= -p "$1" 2>/dev/null | grep -q '^[^Z]'; }

# stop PID: asks the process to end, after 5 s forces it.
stop() {
  kill "$1" 2>/dev/null || true
  local i
  for ((i = 0; i < 50; i++)); do
    running "$1" || break
    sleep 0.1
  done
  kill -KILL "$1" 2>/dev/null || true
  wait "$1" 2>/dev/null || true
}

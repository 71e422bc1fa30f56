#!/usr/bin/env bash
# Builds the score server's Debian package with cpack and checks it as a distribution would:
# its files (the server in /usr/sbin, the verifier in /usr/lib/torvane-scores, the manual page,
# the service, the copyright and changelog) and nothing of the game's, dependencies from the
# libraries it links, maintainer scripts that make its system user, no lintian error or warning,
# a manual page that renders without warnings and covers every option --help prints and every
# API path, a hardened service systemd accepts. Then the unpacked server, with none of the
# build's programs beside it, verifies a recorded game through the unpacked verifier, refuses to
# start without it, starts with it on 127.0.0.1 over a fresh SQLite file (the games it takes are
# api_test.cpp's), and stops on SIGTERM; with
# SOURCE_DATE_EPOCH set a second cpack run gives the same bytes.
# Usage: scores_package.test.sh <torvane> [<torvane-headless>]
set -u
game=${1:?path of the torvane binary}
build=$(dirname "$(readlink -f "$game")")
replays=$(dirname "$(readlink -f "$0")")/../replays
fail() { echo "FAIL: $*"; exit 1; }
for tool in cpack dpkg-deb dpkg-shlibdeps lintian man curl; do
  command -v "$tool" >/dev/null || fail "$tool is not installed"
done
[ -x "$build/server/torvane-scores" ] || fail "no server in $build (built with TORVANE_SERVER=OFF?)"
out=$(mktemp -d)
server_pid=
cleanup() {
  [ -n "$server_pid" ] && kill -KILL "$server_pid" 2>/dev/null
  rm -rf "$out"
}
trap cleanup EXIT
export SOURCE_DATE_EPOCH=1700000000

(cd "$out" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$out") >"$out/cpack.log" 2>&1 ||
  { cat "$out/cpack.log"; fail "cpack failed"; }
deb=$(ls "$out"/torvane-scores_*.deb 2>/dev/null | head -n 1)
[ -n "$deb" ] || { ls "$out"; fail "no torvane-scores_*.deb made"; }

dpkg-deb -c "$deb" >"$out/contents" || fail "dpkg-deb cannot list $deb"
for f in ./usr/sbin/torvane-scores ./usr/lib/torvane-scores/torvane-verify ./usr/share/man/man8/torvane-scores.8.gz \
         ./lib/systemd/system/torvane-scores.service ./usr/share/doc/torvane-scores/{copyright,changelog.gz}; do
  grep -q " $f\$" "$out/contents" || { cat "$out/contents"; fail "$f is not in the package"; }
done
! grep -qE ' \./usr/(games|bin)/| \./usr/share/(torvane|icons|applications)/' "$out/contents" ||
  fail "the server's package carries the game's files or uses /usr/bin"
grep -q '^-rwxr-xr-x root/root .* \./usr/lib/torvane-scores/torvane-verify$' "$out/contents" ||
  fail "the verifier is not an executable owned by root"
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for dep in adduser libc6 libsqlite3 libpq5 libcpp-httplib libssl3 libxxhash0; do
  echo "$depends" | grep -q "$dep" || fail "Depends lacks $dep"
done
dpkg-deb -f "$deb" Description | head -n 1 | grep -qi 'score server' || fail "the package's summary is not its own"

# postinst makes the system user the service runs as; the scripts are executable.
dpkg-deb -e "$deb" "$out/control"
for script in postinst prerm postrm; do
  [ -x "$out/control/$script" ] || fail "no executable $script"
  sh -n "$out/control/$script" || fail "$script is not valid sh"
done
# postinst run with the system's tools replaced by ones that log their calls: on the first
# configure it makes the system user and enables the service; when the user exists, it leaves it.
mkdir "$out/tools"
for tool in adduser deb-systemd-helper deb-systemd-invoke systemctl; do
  printf '#!/bin/sh\necho "%s $*" >>"%s"\n' "$tool" "$out/calls" >"$out/tools/$tool"
done
printf '#!/bin/sh\n[ -n "$USER_EXISTS" ]\n' >"$out/tools/getent"
chmod +x "$out/tools"/*
PATH="$out/tools:$PATH" sh "$out/control/postinst" configure || fail "postinst configure failed"
grep -qx 'adduser --system --group --quiet --home /var/lib/torvane-scores --no-create-home --gecos Torvane score server torvane-scores' \
  "$out/calls" || { cat "$out/calls"; fail "postinst makes no system user torvane-scores"; }
grep -qx 'deb-systemd-helper enable torvane-scores.service' "$out/calls" ||
  { cat "$out/calls"; fail "postinst does not enable the service"; }
rm "$out/calls"
USER_EXISTS=1 PATH="$out/tools:$PATH" sh "$out/control/postinst" configure 1.0.0 || fail "postinst upgrade failed"
! grep -q '^adduser' "$out/calls" || fail "postinst makes the user again on an upgrade"

root="$out/root"
dpkg-deb -x "$deb" "$root"

# The manual page renders without a warning, names the installed verifier, and covers every
# option --help prints (an entry, .TP, each), every API path and the usual sections.
manual="$root/usr/share/man/man8/torvane-scores.8.gz"
LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$manual" >"$out/manual.txt" 2>"$out/man-warnings" ||
  fail "man cannot render the manual page"
[ ! -s "$out/man-warnings" ] || { cat "$out/man-warnings"; fail "the manual page renders with warnings"; }
zcat "$manual" | sed 's/\\-/-/g; s/\\f[BIRP]//g' >"$out/manual"
awk 'after_tp { print } { after_tp = ($0 == ".TP") }' "$out/manual" >"$out/entries"
options=$("$root/usr/sbin/torvane-scores" --help | grep -oE '^  --[a-z-]+')
[ "$(echo "$options" | wc -l)" -ge 10 ] || fail "--help of the unpacked server lists too few options: $options"
for option in $options; do
  grep -qE -- "(^|[ \"])$option( |\"|$)" "$out/entries" || fail "the manual page has no entry for $option"
done
for path in 'POST /api/v1/games' 'GET /api/v1/games/ID' '/recording' 'GET /api/v1/table' 'POST /api/v1/tickets' \
            'GET /healthz' 'GET /metrics'; do
  grep -qF -- "$path" "$out/manual" || fail "the manual page does not document $path"
done
for text in '.SH OPTIONS' '.SH API' '.SH SIGNALS' '.SH FILES' '.SH EXIT STATUS' \
            '/usr/lib/torvane-scores/torvane-verify' '/var/lib/torvane-scores/play/'; do
  grep -qF -- "$text" "$out/manual" || fail "the manual page lacks '$text'"
done

lintian --fail-on none "$deb" >"$out/lintian" 2>&1
cat "$out/lintian"
! grep -qE '^(E|W):' "$out/lintian" || fail "lintian reports errors or warnings"

# The service runs the packaged server as its own user, its state in /var/lib, hardened.
unit="$root/lib/systemd/system/torvane-scores.service"
for line in 'ExecStart=/usr/sbin/torvane-scores --db /var/lib/torvane-scores/scores.sqlite --listen 127.0.0.1:' \
            'User=torvane-scores' 'StateDirectory=torvane-scores' 'ProtectSystem=strict' 'NoNewPrivileges=yes' \
            'PrivateTmp=yes' 'CapabilityBoundingSet=' 'WantedBy=multi-user.target'; do
  grep -q "^$line" "$unit" || fail "the service lacks $line"
done
if command -v systemd-analyze >/dev/null; then
  # Checked with ExecStart pointing at the unpacked server, as systemd checks that it exists.
  mkdir "$out/unit"
  sed "s|=/usr/sbin/torvane-scores|=$root/usr/sbin/torvane-scores|" "$unit" >"$out/unit/torvane-scores.service"
  # It exits 0 on a line it ignores, but says so.
  systemd-analyze --man=no verify "$out/unit/torvane-scores.service" >"$out/verify" 2>&1 && [ ! -s "$out/verify" ] ||
    { cat "$out/verify"; fail "systemd-analyze verify refuses the service"; }
  systemd-analyze security --offline=yes --threshold=20 "$out/unit/torvane-scores.service" >"$out/security" 2>&1 ||
    { grep -E '✗|exposure' "$out/security"; fail "the service's exposure is over 2.0"; }
  exposure=$(grep -oE 'exposure level for [^:]*: [0-9.]+' "$out/security" | grep -oE '[0-9.]+$')
  echo "systemd-analyze: the service verifies, exposure $exposure"
else
  echo "systemd-analyze is not installed: the service's check is left out"
fi

# The unpacked server: nothing of the build beside it, so the verifier it runs is the packaged one.
server="$root/usr/sbin/torvane-scores"
ls "$root/usr/sbin" | grep -qvx torvane-scores && fail "more than the server in /usr/sbin"
"$root/usr/lib/torvane-scores/torvane-verify" <"$replays/lost_round.tvr" >"$out/verified.json" ||
  fail "the packaged verifier fails on lost_round.tvr"
grep -q '"ok":true' "$out/verified.json" && grep -q '"score":1205' "$out/verified.json" ||
  fail "the packaged verifier says $(cat "$out/verified.json")"

# Without its verifier it does not start: every game would be refused.
mv "$root/usr/lib/torvane-scores/torvane-verify" "$out/verify-aside"
timeout 60 "$server" --db "$out/none.sqlite" --listen 127.0.0.1:0 >"$out/no-verifier.out" 2>&1
status=$?
mv "$out/verify-aside" "$root/usr/lib/torvane-scores/torvane-verify"
[ "$status" = 2 ] && grep -q 'cannot run the verifier' "$out/no-verifier.out" ||
  fail "the server without a verifier gave status $status: $(cat "$out/no-verifier.out")"

# A listening server, with no browser build where it is told to look: it says where it goes.
"$server" --db "$out/scores.sqlite" --listen 127.0.0.1:0 --workers 1 --web "$out/play" \
  >"$out/server.out" 2>"$out/server.err" &
server_pid=$!
url=
for _ in $(seq 600); do
  url=$(grep -oE 'http://127\.0\.0\.1:[0-9]+/' "$out/server.out")
  [ -n "$url" ] && break
  kill -0 "$server_pid" 2>/dev/null || { cat "$out/server.err"; fail "the unpacked server exited at start"; }
  sleep 0.1
done
[ -n "$url" ] || fail "the unpacked server never said where it listens"
grep -q "no browser build in $out/play" "$out/server.err" || fail "the server does not say where the browser build goes"
[ "$(curl -sf "${url}healthz")" = ok ] || fail "/healthz does not answer ok"
[ "$(curl -s -o /dev/null -w '%{http_code}' "${url}play/")" = 404 ] || fail "/play/ without a browser build is not 404"

again="$out/again"
mkdir "$again"
(cd "$again" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$again") >"$again/cpack.log" 2>&1 || fail "cpack failed twice"
cmp -s "$deb" "$again/$(basename "$deb")" || fail "a second cpack run gives a different package"

kill -TERM "$server_pid"
wait "$server_pid"
status=$?
server_pid=
[ "$status" = 0 ] || fail "SIGTERM ended the server with status $status"
echo "PASS: $(basename "$deb") ($(stat -c %s "$deb") bytes), $(grep -c '' "$out/contents") entries, lintian clean, lost_round verified by the packaged verifier, $(sha256sum <"$deb" | cut -c1-16) twice"

# Sourced by the web scripts: what Debian's emscripten needs around it.
# Its optimiser loads Debian's node modules (acorn), which a node from another source does not
# look for by itself.
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
# The prebuilt system libraries live in emscripten's cache; a user who cannot write there
# works from a copy of it.
if [ ! -w /usr/share/emscripten/cache ] && [ -z "${EM_CACHE:-}" ]; then
  export EM_CACHE="${XDG_CACHE_HOME:-$HOME/.cache}/torvane-emscripten"
  [ -d "$EM_CACHE" ] || cp -r /usr/share/emscripten/cache "$EM_CACHE"
fi

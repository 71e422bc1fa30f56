// Keeps the page playable without a network: every file it fetched last time online is
// answered from the cache when the network fails. The network comes first, so a new build is
// picked up as soon as it is served, and the game and its WebAssembly never mix versions.
const kCache = 'torvane';
const kPage = ['./', 'index.html', 'torvane.js', 'torvane.wasm', 'manifest.webmanifest', 'icon.svg'];

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(kCache).then((cache) => cache.addAll(kPage)).then(() => self.skipWaiting()));
});
self.addEventListener('activate', (event) => event.waitUntil(self.clients.claim()));

self.addEventListener('fetch', (event) => {
  const request = event.request;
  const url = new URL(request.url);
  // The score server's answers are never kept: an old table or game state would mislead.
  if (request.method !== 'GET' || url.origin !== self.location.origin || url.pathname.startsWith('/api/')) return;
  event.respondWith(fetch(request).then((response) => {
    if (response.ok && !request.url.includes('/Sounds/')) {
      const copy = response.clone();
      caches.open(kCache).then((cache) => cache.put(request, copy)).catch(() => {});
    }
    return response;
  }).catch(() => caches.match(request, {ignoreSearch: true}).then((kept) => kept || Response.error())));
});

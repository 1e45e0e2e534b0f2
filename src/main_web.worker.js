// The installed page's service worker: it keeps the page's folder (FILES) in a cache named
// after the build (VERSION, put in by scripts/build-web), and answers from there before the
// network, so the page starts offline after one visit. A new build has a new name: the
// browser installs it beside the old one, which it then deletes.
const VERSION = '@VERSION@';
const FILES = ['index.html', 'tessaly.html', 'manifest.webmanifest', 'tessaly-192.png',
               'tessaly-512.png'];

self.addEventListener('install', (event) => {
  // `reload`: the files from the server, not from the browser's HTTP cache, which may
  // still hold the last build's.
  event.waitUntil(caches.open(VERSION)
    .then((cache) => cache.addAll(FILES.map((file) => new Request(file, { cache: 'reload' }))))
    .then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    .then((names) => Promise.all(names.filter((n) => n !== VERSION).map((n) => caches.delete(n))))
    .then(() => self.clients.claim()));
});

// The page's own files by their path alone: tessaly.html?file=URL is still tessaly.html,
// and the folder itself is its index.html. Anything else (the file a ?file= names) goes to
// the network as usual.
self.addEventListener('fetch', (event) => {
  if (event.request.method !== 'GET') return;
  const folder = event.request.url.split(/[?#]/)[0] === self.registration.scope;
  event.respondWith(caches.open(VERSION)
    .then((cache) => cache.match(folder ? 'index.html' : event.request, { ignoreSearch: true }))
    .then((found) => found || fetch(event.request)));
});

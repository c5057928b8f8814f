// SPDX-License-Identifier: GPL-3.0-or-later
// The service worker: keeps the site in the browser so the exercise runs
// offline after the first visit. build.mjs fills in the list of the site's
// files with a hash of each; the cache is named after the whole list, so a
// new build gets a new cache and the old one is dropped once it takes over.
//
// At installation it keeps what the first observation needs (the page, the
// module, the data files and the 100X pictures). The other magnifications'
// sheets follow when the page posts {type: 'cache-rest'} (once the first
// observation is on screen, so that they do not compete with it), and any of
// the site's files is kept as soon as the page fetches it.
//
// The instructor's settings file is no file of the build: it is asked of the
// server first at every start, so that a change holds at once, and kept with
// the server's last word on it (the file, or that there is none) for a start
// without the network.

interface PrecacheEntry {
    url: string; // relative to the worker's folder, URI-encoded
    hash: string;
    later: boolean; // kept after the first observation, not at installation
}

declare const __PRECACHE__: PrecacheEntry[];
declare const __CACHE_VERSION__: string;

// The parts of the worker's scope used here (the page's TypeScript library
// describes windows, not workers).
interface ExtendableEvent extends Event {
    waitUntil(promise: Promise<unknown>): void;
}
interface FetchEvent extends ExtendableEvent {
    readonly request: Request;
    respondWith(response: Response | Promise<Response>): void;
}
interface WorkerScope {
    readonly registration: { readonly scope: string };
    readonly clients: { claim(): Promise<void> };
    skipWaiting(): Promise<void>;
    addEventListener(type: 'install' | 'activate', listener: (e: ExtendableEvent) => void): void;
    addEventListener(type: 'fetch', listener: (e: FetchEvent) => void): void;
    addEventListener(type: 'message', listener: (e: ExtendableEvent & MessageEvent) => void): void;
}
declare const self: WorkerScope;

const CACHE = `quorvex-${__CACHE_VERSION__}`;
// The settings file's last answer outlives the builds.
const SETTINGS_CACHE = 'quorvex-settings';
const base = new URL('./', self.registration.scope);
const absolute = (url: string): string => new URL(url, base).href;
const siteFiles = new Set(__PRECACHE__.map((f) => absolute(f.url)));
const indexUrl = absolute('index.html');
const settingsUrl = absolute('quorvex-options.json');

async function keep(entries: PrecacheEntry[]): Promise<void> {
    const cache = await caches.open(CACHE);
    for (const f of entries) {
        const url = absolute(f.url);
        if (await cache.match(url)) continue;
        const response = await fetch(url, { cache: 'no-cache' });
        if (response.ok) await cache.put(url, response);
    }
}

self.addEventListener('install', (e) => {
    // The page asked for the settings before the worker was there: the
    // worker asks too, so that a start without the network has an answer.
    e.waitUntil(
        Promise.all([keep(__PRECACHE__.filter((f) => !f.later)), askForSettings()]).then(() => self.skipWaiting()),
    );
});

self.addEventListener('activate', (e) => {
    e.waitUntil(
        (async () => {
            for (const name of await caches.keys())
                if (name.startsWith('quorvex-') && name !== CACHE && name !== SETTINGS_CACHE) await caches.delete(name);
            await self.clients.claim();
        })(),
    );
});

self.addEventListener('message', (e) => {
    const data = e.data as { type?: string } | null;
    if (data?.type === 'cache-rest') e.waitUntil(keep(__PRECACHE__.filter((f) => f.later)));
});

// Asks the server for the settings file and keeps a final answer: the file,
// or that there is none. null when no answer came.
async function askForSettings(): Promise<Response | null> {
    let response: Response;
    try {
        response = await fetch(settingsUrl, { cache: 'no-store' });
    } catch {
        return null;
    }
    if (response.status === 200 || response.status === 404 || response.status === 410) {
        const cache = await caches.open(SETTINGS_CACHE);
        await cache.put(settingsUrl, response.clone()).catch(() => undefined);
    }
    return response;
}

// The settings file from the server; the last answer kept when the server
// gives none or fails.
async function settingsFile(): Promise<Response> {
    const response = await askForSettings();
    if (response && response.status < 500) return response;
    const kept = await (await caches.open(SETTINGS_CACHE)).match(settingsUrl);
    return kept ?? response ?? Response.error();
}

self.addEventListener('fetch', (e) => {
    const request = e.request;
    if (request.method !== 'GET') return;
    const url = new URL(request.url);
    url.search = '';
    url.hash = '';
    if (url.href === settingsUrl) {
        e.respondWith(settingsFile());
        return;
    }
    // The folder itself is the page.
    const key = url.href === base.href ? indexUrl : url.href;
    if (!siteFiles.has(key)) return;
    e.respondWith(
        (async () => {
            const cache = await caches.open(CACHE);
            const kept = await cache.match(key);
            if (kept) return kept;
            const response = await fetch(request);
            if (response.ok && response.status === 200) await cache.put(key, response.clone());
            return response;
        })(),
    );
});

export {};

// SPDX-License-Identifier: GPL-3.0-or-later
// The page's start: the engine, its tables, the instructor's settings file,
// the rotation pictures' index and the browser's store are fetched together;
// then the desk takes over.

import { RotationAtlas } from './atlas';
import type { CoreMessage } from './core';
import { Desk } from './desk';
import { showMessage } from './dialogs';
import { byId } from './dom';
import { fetchBytes, fetchSettings, hotListDefaults, loadEngine, siteFiles, siteSettings } from './engine';
import { openHelpFromAddress } from './help';
import { WorkStore } from './store';

async function start(): Promise<void> {
    const note = byId('splash-note');
    try {
        const engine = loadEngine();
        // One byte more than the engine reads, so that it can say a file is too large.
        const settings = engine.then(async (core) => siteSettings(core, await fetchSettings(core.WEB_OPTIONS_MAX_BYTES + 1)));
        const [core, atlas, store, site] = await Promise.all([
            engine,
            RotationAtlas.load(siteFiles.atlasIndex).catch(() => null),
            WorkStore.open(),
            settings,
        ]);
        // The first drawing is at 100X: its sheets come first.
        void atlas?.preload(0);
        const reminderBytes = fetchBytes(siteFiles.reminder).catch(() => null);
        const desk = new Desk({
            core,
            atlas,
            store,
            options: site.options,
            hotList: hotListDefaults(site.hotList),
            // The reminder shown when the students quit a running exercise;
            // null (the plain question instead) when it cannot be read.
            reminder: async (): Promise<CoreMessage | null> => {
                const bytes = await reminderBytes;
                return bytes ? core.reminderMessage(bytes) : null;
            },
        });
        // A settings file with unknown members, or one that could not be
        // used, is reported over the desk, which starts behind the message.
        if (site.message) void showMessage(site.message);
        await desk.start();
        // A help topic's address (#help=...) opens it over the desk.
        void openHelpFromAddress();
        registerServiceWorker();
    } catch (e) {
        note.hidden = false;
        note.textContent = `The exercise could not be started: ${e instanceof Error ? e.message : String(e)}`;
    }
}

// Offline after the first visit: the service worker keeps the site's files.
function registerServiceWorker(): void {
    if (!('serviceWorker' in navigator) || location.protocol === 'file:') return;
    navigator.serviceWorker.register('sw.js').catch(() => undefined);
}

if (document.readyState === 'loading') document.addEventListener('DOMContentLoaded', () => void start());
else void start();

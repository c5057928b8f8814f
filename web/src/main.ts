// SPDX-License-Identifier: GPL-3.0-or-later
// The page's start: the engine, its tables, the rotation pictures' index and
// the browser's store are fetched together; then the desk takes over.

import { RotationAtlas } from './atlas';
import type { CoreMessage } from './core';
import { Desk } from './desk';
import { byId } from './dom';
import { fetchBytes, hotListLoader, loadEngine, siteFiles } from './engine';
import { WorkStore } from './store';

async function start(): Promise<void> {
    const note = byId('splash-note');
    try {
        const [core, atlas, store] = await Promise.all([
            loadEngine(),
            RotationAtlas.load(siteFiles.atlasIndex).catch(() => null),
            WorkStore.open(),
        ]);
        // The first drawing is at 100X: its sheets come first.
        void atlas?.preload(0);
        const reminderBytes = fetchBytes(siteFiles.reminder).catch(() => null);
        const desk = new Desk({
            core,
            atlas,
            store,
            hotList: hotListLoader(core),
            // The reminder shown when the students quit a running exercise;
            // null (the plain question instead) when it cannot be read.
            reminder: async (): Promise<CoreMessage | null> => {
                const bytes = await reminderBytes;
                return bytes ? core.reminderMessage(bytes) : null;
            },
        });
        await desk.start();
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

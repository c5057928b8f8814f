// SPDX-License-Identifier: GPL-3.0-or-later
// Loading the engine and the data files it needs, from beside the page.

import type { CoreMessage, HotListEntry, QuorvexCore, SessionOptions } from './core';
import type { HotListDefaults } from './hotlist';

// Relative URLs of the site's files.
export const siteFiles = {
    core: 'quorvex-core.mjs',
    leapSeconds: 'data/Leap%20Seconds.txt',
    outerPlanets: 'data/Outer_Pl_Tbl.dat',
    hotList: 'data/HotDates.htl',
    // The instructor's settings, when the site has them (no build ships one).
    settings: 'quorvex-options.json',
    reminder: 'data/REMINDER.jup',
    atlasIndex: 'atlas/index.json',
    title: 'pictures/title.png',
    logo: 'pictures/logo.png',
} as const;

export function siteUrl(path: string): string {
    return new URL(path, document.baseURI).href;
}

export async function fetchBytes(path: string): Promise<Uint8Array> {
    const res = await fetch(siteUrl(path));
    if (!res.ok) throw new Error(`${path}: ${res.status} ${res.statusText}`);
    return new Uint8Array(await res.arrayBuffer());
}

// The engine, started on its two tables.
export async function loadEngine(): Promise<QuorvexCore> {
    const url = siteUrl(siteFiles.core);
    const [mod, leap, planets] = await Promise.all([
        import(/* webpackIgnore: true */ url) as Promise<{ default: (o?: object) => Promise<QuorvexCore> }>,
        fetchBytes(siteFiles.leapSeconds),
        fetchBytes(siteFiles.outerPlanets),
    ]);
    const core = await mod.default({});
    core.init(leap, planets);
    return core;
}

// The hotlist a group starts from: the settings file's when it has one;
// else the site's own file, fetched each time a group first wants it (none
// when it cannot be read).
export function hotListDefaults(fromSettings: HotListEntry[] | null): HotListDefaults {
    if (fromSettings) return () => Promise.resolve({ entries: fromSettings });
    return () =>
        fetchBytes(siteFiles.hotList)
            .then((bytes) => ({ bytes }))
            .catch(() => null);
}

// What the server gave for the settings file: its bytes, nothing (there is
// no such file), or a refusal (HTTP status; 0 for no answer at all).
export type SettingsAnswer = { bytes: Uint8Array } | { absent: true } | { status: number };

// Fetched past the browser's cache, so that the instructor's last change
// holds at the next start; the service worker keeps a copy for offline use.
// At most `limit` bytes are read: a larger file is refused as too large
// without being held in memory.
export async function fetchSettings(limit: number): Promise<SettingsAnswer> {
    let res: Response;
    try {
        res = await fetch(siteUrl(siteFiles.settings), { cache: 'no-store' });
    } catch {
        return { status: 0 };
    }
    if (res.status === 404 || res.status === 410) return { absent: true };
    if (!res.ok) return { status: res.status };
    try {
        return { bytes: await readAtMost(res, limit) };
    } catch {
        return { status: 0 };
    }
}

async function readAtMost(res: Response, limit: number): Promise<Uint8Array> {
    if (!res.body) return new Uint8Array(await res.arrayBuffer()).slice(0, limit);
    const reader = res.body.getReader();
    const parts: Uint8Array[] = [];
    let size = 0;
    while (size < limit) {
        const { done, value } = await reader.read();
        if (done) break;
        parts.push(value);
        size += value.length;
    }
    if (size >= limit) void reader.cancel().catch(() => undefined);
    const bytes = new Uint8Array(Math.min(size, limit));
    let at = 0;
    for (const p of parts) {
        const part = p.subarray(0, bytes.length - at);
        bytes.set(part, at);
        at += part.length;
    }
    return bytes;
}

export interface SiteSettings {
    options: SessionOptions;
    hotList: HotListEntry[] | null; // the file's list, which replaces the site's own
    message: CoreMessage | null; // to show at start
}

// The session's settings from the server's answer: the file read by the
// engine; the defaults without a file, silently, or with the engine's word
// on a file the server would not give.
export function siteSettings(core: QuorvexCore, answer: SettingsAnswer): SiteSettings {
    if ('absent' in answer) return { options: core.optionDefaults(), hotList: null, message: null };
    const r = 'bytes' in answer ? core.parseWebOptions(answer.bytes) : core.webOptionsFetchFault(answer.status);
    return { options: r.options, hotList: r.hotList, message: r.message };
}

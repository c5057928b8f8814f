// SPDX-License-Identifier: GPL-3.0-or-later
// Loading the engine and the data files it needs, from beside the page.

import type { HotList, QuorvexCore } from './core';

// Relative URLs of the site's files.
export const siteFiles = {
    core: 'quorvex-core.mjs',
    leapSeconds: 'data/Leap%20Seconds.txt',
    outerPlanets: 'data/Outer_Pl_Tbl.dat',
    hotList: 'data/HotDates.htl',
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

// The default hotlist, read once when first wanted.
export function hotListLoader(core: QuorvexCore): () => Promise<HotList> {
    let list: Promise<HotList> | null = null;
    return () => {
        list ??= fetchBytes(siteFiles.hotList)
            .then((b) => core.parseHotList(b))
            .catch(() => ({ entries: [], cutShort: false }));
        return list;
    };
}

// SPDX-License-Identifier: GPL-3.0-or-later
// "Select Features": the observation's optional features. A box the options
// do not offer is disabled; the two eclipse features show unchecked then, as
// without eclipse visibility there is no eclipse to stop on or to show.

import type { FeatureFlags, SessionOptions } from './core';
import { PageWindow, buttonRow, pushButton } from './dialogs';
import { h, uid } from './dom';

interface FeatureBox {
    caption: string;
    name: string;
    flag: keyof FeatureFlags;
    offeredBy: keyof SessionOptions;
    clearedWhenOff: boolean;
}

const boxes: FeatureBox[] = [
    { caption: 'Animation', name: 'AnimationBox', flag: 'animation', offeredBy: 'allowAnimation', clearedWhenOff: false },
    { caption: 'Use ID Colors', name: 'IDBox', flag: 'idColors', offeredBy: 'identifyMoon', clearedWhenOff: false },
    { caption: 'Show Top View', name: 'TopViewBox', flag: 'topView', offeredBy: 'allowTopView', clearedWhenOff: false },
    {
        caption: 'Stop Animation on Eclipse',
        name: 'StopAnimBox',
        flag: 'stopOnEclipse',
        offeredBy: 'eclipseVisibility',
        clearedWhenOff: true,
    },
    {
        caption: 'Show Eclipsed Moon',
        name: 'ShowEclBox',
        flag: 'showEclipsed',
        offeredBy: 'eclipseVisibility',
        clearedWhenOff: true,
    },
];

// The features as the form's OK leaves them for these options: a box that
// is not offered and shows unchecked is off.
export function offeredFeatures(flags: FeatureFlags, options: SessionOptions): FeatureFlags {
    const out = { ...flags };
    for (const b of boxes) out[b.flag] = flags[b.flag] && (!!options[b.offeredBy] || !b.clearedWhenOff);
    return out;
}

export class FeaturesForm {
    private readonly win: PageWindow;
    private readonly checks: HTMLInputElement[];
    private finish: ((ok: boolean) => void) | null = null;
    private flags: FeatureFlags | null = null;

    constructor(private readonly options: SessionOptions) {
        this.win = new PageWindow({ caption: 'Select Features', id: 'TFeaturesForm1', className: 'features-form' });
        const list = h('div', { class: 'features-list' });
        this.checks = boxes.map((b) => {
            const id = uid(b.name);
            const box = h('input', { type: 'checkbox', id, name: b.name });
            list.append(h('div', { class: 'check' }, box, h('label', { for: id, text: b.caption })));
            return box;
        });
        const ok = pushButton('OK', { type: 'submit' });
        const cancel = pushButton('Cancel');
        const form = h('form', { class: 'features' }, list, buttonRow(ok, cancel));
        form.addEventListener('submit', (e) => {
            e.preventDefault();
            this.okClick();
        });
        cancel.addEventListener('click', () => this.end(false));
        this.win.onEscape = () => this.end(false);
        this.win.body.append(form);
    }

    // Shows the boxes for `flags`; OK writes them back and resolves true.
    run(flags: FeatureFlags): Promise<boolean> {
        this.flags = flags;
        boxes.forEach((b, i) => {
            const offered = !!this.options[b.offeredBy];
            this.checks[i].disabled = !offered;
            this.checks[i].checked = flags[b.flag] && (offered || !b.clearedWhenOff);
        });
        this.win.open(true);
        return new Promise((resolve) => (this.finish = resolve));
    }

    private okClick(): void {
        const f = this.flags;
        if (f) {
            boxes.forEach((b, i) => (f[b.flag] = this.checks[i].checked));
            Object.assign(f, offeredFeatures(f, this.options));
        }
        this.end(true);
    }

    private end(ok: boolean): void {
        this.win.close();
        this.flags = null;
        this.finish?.(ok);
        this.finish = null;
    }
}

// SPDX-License-Identifier: GPL-3.0-or-later
// "Select Features": the observation's optional features. A box the options
// do not offer is disabled; the two eclipse features show unchecked then, as
// without eclipse visibility there is no eclipse to stop on or to show.

import type { FeatureFlags, OptionDefaults } from './core';
import { PageWindow, buttonRow, pushButton } from './dialogs';
import { h, uid } from './dom';

interface FeatureBox {
    caption: string;
    name: string;
    flag: keyof FeatureFlags;
    offeredBy: keyof OptionDefaults;
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

export class FeaturesForm {
    private readonly win: PageWindow;
    private readonly checks: HTMLInputElement[];
    private finish: ((ok: boolean) => void) | null = null;
    private flags: FeatureFlags | null = null;

    constructor(private readonly options: OptionDefaults) {
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
            boxes.forEach((b, i) => {
                f[b.flag] = this.checks[i].checked && (!!this.options[b.offeredBy] || !b.clearedWhenOff);
            });
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

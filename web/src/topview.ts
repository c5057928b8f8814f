// SPDX-License-Identifier: GPL-3.0-or-later
// "Top View of Jupiter & Moons": Jupiter's system seen from above the orbital
// plane, the Earth toward the bottom, so that the student sees why a moon
// stands east or west of the planet. It stays beside the desk while "Show
// Top View" is on and follows every change of the instant; the moon under
// the telescope view's crosshair is ringed. The engine gives the pixels and
// says in words where each moon is; the page fills and reads them out.

import type { QuorvexCore } from './core';
import type { EclipseDisplay, TopViewFrame } from './core-topview';
import { PageWindow } from './dialogs';
import { h, uid } from './dom';
import { siteUrl } from './engine';
import { openHelpList } from './help';
import { MenuBar, separator } from './menu';

export const topViewCaption = 'Top View of Jupiter & Moons';
// The arrow toward the Earth, beside the pictures.
const arrowFile = 'pictures/REDARROW.ICO';
// A still view's words are said once it settles; a moving one's at most this
// often, so that a screen reader is not talked over at every animation step.
const stillSayDelayMs = 400;
const movingSayGapMs = 5000;

export interface TopViewHost {
    core: QuorvexCore;
    eclipseVisibility: boolean; // the options offer the Eclipses submenu
    animating(): boolean; // the menu's choices wait for the next animation step
    closed(): void; // "Show Top View" goes off
}

const eclipseItems: [string, EclipseDisplay][] = [
    ['HideMoononEclipse1', 'hide'],
    ['ShowEclipsedMoonas1', 'plus'],
    ['DontShowEclipse1', 'dot'],
];

export class TopViewWindow {
    readonly win: PageWindow;
    readonly canvas: HTMLCanvasElement;
    private readonly ctx: CanvasRenderingContext2D;
    private readonly menu: MenuBar;
    private readonly said: HTMLParagraphElement;
    private readonly table: HTMLUListElement;
    private readonly arrow = new Image();
    private arrowReady = false;

    // The window's choices: the Large size, the orbits, the eclipse display.
    private large = true;
    private showOrbits = true;
    private eclipses: EclipseDisplay = 'dot';
    private idColors = false;
    private ringed = 0;

    // What is to be said and listed, and when it last was.
    private sayTimer: ReturnType<typeof setTimeout> | null = null;
    private sayDue = 0;
    private pendingSay: string | null = null;
    private pendingLines: string[] | null = null;
    private lastSaid = -Infinity;

    constructor(private readonly host: TopViewHost) {
        this.win = new PageWindow({ caption: topViewCaption, id: 'TJSatOrrery', className: 'topview' });
        const menuHost = h('div', { class: 'dlg-menubar' });
        this.menu = new MenuBar(menuHost, topViewCaption, [
            {
                id: 'View1',
                caption: '&View',
                items: [
                    { id: 'Normal1', caption: '&Normal', check: 'radio', action: () => this.setSize(false) },
                    {
                        id: 'Large1',
                        caption: '&Large',
                        check: 'radio',
                        hint: 'Corresponds with "X100" view on main display.',
                        action: () => this.setSize(true),
                    },
                    separator,
                    { id: 'ShowOrbits1', caption: 'Show &Orbits', check: 'box', action: () => this.toggleOrbits() },
                    separator,
                    {
                        id: 'Eclipses1',
                        caption: '&Eclipses',
                        items: [
                            { id: 'HideMoononEclipse1', caption: '&Hide Moon on Eclipse', check: 'radio', action: () => this.chooseEclipses('hide') },
                            {
                                id: 'ShowEclipsedMoonas1',
                                caption: '&Show Eclipsed Moon as "+"',
                                check: 'radio',
                                action: () => this.chooseEclipses('plus'),
                            },
                            { id: 'DontShowEclipse1', caption: "&Don't Show Eclipse", check: 'radio', action: () => this.chooseEclipses('dot') },
                        ],
                    },
                    separator,
                    { id: 'Close1', caption: '&Close', action: () => this.close() },
                ],
            },
            { id: 'Help1', caption: '&Help', action: () => void openHelpList('TopVwHlp.lst') },
        ]);

        // The picture, its orientation and its words.
        const saidId = uid('topview-said');
        const keyId = uid('topview-key');
        this.canvas = h('canvas', {
            class: 'topview-image',
            role: 'img',
            'aria-label': 'Top view',
            'aria-describedby': `${keyId} ${saidId}`,
        });
        const ctx = this.canvas.getContext('2d', { alpha: false });
        if (!ctx) throw new Error('The browser cannot draw on a canvas.');
        this.ctx = ctx;
        this.said = h('p', { id: saidId, class: 'visually-hidden', role: 'status', 'aria-live': 'polite', 'aria-atomic': 'true' });
        this.table = h('ul', { class: 'topview-positions' });
        const key = h('p', {
            id: keyId,
            class: 'visually-hidden',
            text: "Jupiter's moons seen from above their orbits: the Earth is toward the bottom, west to the right.",
        });
        const details = h('details', { class: 'topview-table' }, h('summary', { text: 'Moon positions' }), this.table);
        this.win.body.append(menuHost, h('div', { class: 'topview-panel' }, this.canvas), key, this.said, details);
        this.win.onEscape = () => this.close();

        this.arrow.addEventListener('load', () => {
            this.arrowReady = true;
            if (this.isOpen) this.draw();
        });
        // Without the icon "To Earth" still says where the Earth is.
        this.arrow.addEventListener('error', () => (this.arrowReady = false));
        window.addEventListener('resize', () => {
            if (this.isOpen) this.place();
        });
        this.showChoices();
    }

    get isOpen(): boolean {
        return this.win.isOpen;
    }

    // The desk's redraw: shows the window (without taking the keyboard from
    // the desk) and draws it while it is to be shown; closes it otherwise.
    sync(shown: boolean, idColors: boolean): void {
        this.idColors = idColors;
        if (!shown) {
            if (this.isOpen) this.close();
            return;
        }
        this.ringed = 0;
        if (this.isOpen) this.draw(true);
        else this.open();
    }

    // The moon under the telescope view's crosshair (0: none) is ringed.
    highlightMoon(moon: number): void {
        if (!this.isOpen) return;
        const m = moon >= 1 && moon <= 4 ? moon : 0;
        if (m === this.ringed) return;
        this.ringed = m;
        this.draw(false);
    }

    // "Close": the view stays closed until the feature is chosen again.
    close(): void {
        if (!this.isOpen) return;
        this.win.close(document.getElementById('desk'));
        this.host.closed();
    }

    private open(): void {
        const had = document.activeElement;
        // The icon is read at the first showing.
        if (!this.arrow.src) this.arrow.src = siteUrl(arrowFile);
        this.win.el.show();
        // Drawn first: the picture's size places the window.
        this.draw(true);
        this.place();
        // The student goes on at the desk: the focus stays where it was.
        if (had instanceof HTMLElement && had !== document.body && had.isConnected) had.focus({ preventScroll: true });
    }

    // --- The View menu ---------------------------------------------------

    private setSize(large: boolean): void {
        this.large = large;
        this.showChoices();
        if (!this.isOpen) return;
        this.draw(false);
        this.place();
    }

    private toggleOrbits(): void {
        this.showOrbits = !this.showOrbits;
        this.showChoices();
        this.redrawUnlessAnimating();
    }

    private chooseEclipses(e: EclipseDisplay): void {
        this.eclipses = e;
        this.showChoices();
        this.redrawUnlessAnimating();
    }

    // While the animation runs its next step redraws.
    private redrawUnlessAnimating(): void {
        if (this.isOpen && !this.host.animating()) this.draw(true);
    }

    private showChoices(): void {
        this.menu.setChecked('Normal1', !this.large);
        this.menu.setChecked('Large1', this.large);
        this.menu.setChecked('ShowOrbits1', this.showOrbits);
        for (const [id, e] of eclipseItems) this.menu.setChecked(id, this.eclipses === e);
    }

    // Without eclipse visibility there is no eclipse to show: the submenu is
    // disabled and eclipsed moons are drawn as any other.
    private enforceEclipseVisibility(): void {
        this.menu.setEnabled('Eclipses1', this.host.eclipseVisibility);
        if (!this.host.eclipseVisibility && this.eclipses !== 'dot') {
            this.eclipses = 'dot';
            this.showChoices();
        }
    }

    // --- Drawing ---------------------------------------------------------

    private draw(say = true): void {
        this.enforceEclipseVisibility();
        const icon = this.arrowReady ? this.arrow : null;
        const side = this.host.core.ARROW_ICON_SIDE;
        const frame = this.host.core.topViewFrame(
            this.large,
            { showOrbits: this.showOrbits, eclipses: this.eclipses, idColors: this.idColors, highlightMoon: this.ringed },
            icon?.naturalWidth || side,
            icon?.naturalHeight || side,
        );
        this.paint(frame, icon);
        this.describe(frame, say);
    }

    private paint(frame: TopViewFrame, icon: HTMLImageElement | null): void {
        const c = this.canvas;
        if (c.width !== frame.width || c.height !== frame.height) {
            c.width = frame.width;
            c.height = frame.height;
        }
        const ctx = this.ctx;
        ctx.imageSmoothingEnabled = false;
        ctx.fillStyle = '#000';
        ctx.fillRect(0, 0, frame.width, frame.height);
        const m = frame.marks;
        let colour = -1;
        const fill = (from: number, to: number) => {
            for (let k = from; k < to; ++k) {
                const i = 5 * k;
                if (m[i + 4] !== colour) {
                    colour = m[i + 4];
                    ctx.fillStyle = `#${colour.toString(16).padStart(6, '0')}`;
                }
                ctx.fillRect(m[i], m[i + 1], m[i + 2], m[i + 3]);
            }
        };
        fill(0, frame.arrowAt);
        if (icon) ctx.drawImage(icon, frame.arrowCorner.x, frame.arrowCorner.y);
        ctx.font = "11px 'Liberation Sans', Arial, Helvetica, sans-serif";
        ctx.textBaseline = 'top';
        ctx.fillStyle = '#fff';
        ctx.fillText(frame.toEarthText, frame.textCorner.x, frame.textCorner.y);
        colour = -1;
        fill(frame.arrowAt, m.length / 5);
    }

    // The list follows the drawing; the live words follow a new instant or a
    // new choice, not the crosshair (whose moon the desk's read-out names).
    private describe(frame: TopViewFrame, say: boolean): void {
        this.pendingLines = frame.positions;
        if (say) this.pendingSay = frame.positions.join('; ');
        const now = performance.now();
        const moving = this.host.animating();
        // A step after the animation stopped need not wait for its turn.
        if (this.sayTimer !== null) {
            if (moving || this.sayDue - now <= stillSayDelayMs) return;
            clearTimeout(this.sayTimer);
        }
        const wait = Math.max(stillSayDelayMs, this.lastSaid + (moving ? movingSayGapMs : 0) - now);
        this.sayDue = now + wait;
        this.sayTimer = setTimeout(() => this.flushWords(), wait);
    }

    private flushWords(): void {
        this.sayTimer = null;
        const lines = this.pendingLines;
        this.pendingLines = null;
        if (lines) this.table.replaceChildren(...lines.map((l) => h('li', { text: l })));
        const text = this.pendingSay;
        this.pendingSay = null;
        if (text !== null && text !== this.said.textContent) {
            this.said.textContent = text;
            this.lastSaid = performance.now();
        }
    }

    // --- Where the window goes -------------------------------------------

    // To the right of the desk where it fits; else below it, left-aligned
    // with it, where Jupiter's centre falls in the eyepiece's column, so that
    // in the Large size each moon stands below where the 100X view shows it
    // (the page then scrolls to it). Never over the eyepiece or its buttons.
    private place(): void {
        const el = this.win.el;
        const desk = document.getElementById('desk');
        if (!desk) return;
        const gap = 8;
        // Measured where nothing narrows it.
        el.style.left = '0px';
        el.style.top = '0px';
        const w = el.offsetWidth;
        const d = desk.getBoundingClientRect();
        const vw = document.documentElement.clientWidth;
        const right = d.right + gap + w <= vw;
        const x = right ? d.right + gap : Math.max(0, Math.min(d.left, vw - w));
        const y = right ? d.top : d.bottom + gap;
        el.style.left = `${Math.round(x + window.scrollX)}px`;
        el.style.top = `${Math.round(Math.max(0, y) + window.scrollY)}px`;
    }
}

// SPDX-License-Identifier: GPL-3.0-or-later
// The telescope view ("Telescope view"): the eyepiece drawn from what the
// engine computed, and the crosshair placed by mouse, touch, pen or keyboard.
// The view canvas holds exactly the desktop's picture; the keyboard's and the
// finger's crosshair are drawn on a second canvas above it, and the focus
// frame is the canvas's outline, so neither ever changes a view pixel.

import type { EyepieceFrame } from './core';
import { drawPlainDisc, type RotationAtlas } from './atlas';

export interface ViewPoint {
    x: number;
    y: number;
}

export const VIEW_WIDTH = 628;
export const VIEW_HEIGHT = 326;

// The mark of the keyboard's (and the finger's) crosshair: green, which no
// moon, disc or shadow has, with a gap so the moon under it stays in sight.
const markColour = 'rgb(0, 255, 0)';
const markGap = 4;
const markArm = 12;

export class EyepieceView {
    readonly canvas: HTMLCanvasElement;
    private readonly overlay: HTMLCanvasElement;
    private readonly ctx: CanvasRenderingContext2D;
    private readonly overlayCtx: CanvasRenderingContext2D;
    private lastFrame: EyepieceFrame | null = null;

    // Where the keyboard's crosshair starts: Jupiter's centre.
    home: ViewPoint = { x: VIEW_WIDTH >> 1, y: VIEW_HEIGHT >> 1 };
    // The crosshair drawn over the picture (keyboard or touch); none while
    // the mouse places, which shows its own cursor.
    private mark: ViewPoint | null = null;
    private keyMark = false; // the mark is the keyboard's
    private dragging: number | null = null; // the pointer id of a placement in progress
    private lastInside: ViewPoint | null = null;
    private tabPressed = false;

    // A placement: every point evaluated (down, move); `complete` on release
    // and on every key step, which enables "Record".
    onPlace: ((p: ViewPoint, complete: boolean) => void) | null = null;
    // Enter on the view: "Record" when it is enabled.
    onEnter: (() => void) | null = null;

    constructor(
        canvas: HTMLCanvasElement,
        overlay: HTMLCanvasElement,
        private readonly atlas: RotationAtlas | null,
    ) {
        this.canvas = canvas;
        this.overlay = overlay;
        for (const c of [canvas, overlay]) {
            c.width = VIEW_WIDTH;
            c.height = VIEW_HEIGHT;
        }
        const ctx = canvas.getContext('2d', { alpha: false });
        const octx = overlay.getContext('2d');
        if (!ctx || !octx) throw new Error('The browser cannot draw on a canvas.');
        this.ctx = ctx;
        this.overlayCtx = octx;
        ctx.imageSmoothingEnabled = false;
        ctx.fillStyle = '#000';
        ctx.fillRect(0, 0, VIEW_WIDTH, VIEW_HEIGHT);
        if (atlas) atlas.onSheetLoaded = () => this.lastFrame && this.draw(this.lastFrame);

        // Tab brings the keyboard's crosshair; a click or a dialog giving the
        // focus back does not.
        document.addEventListener(
            'keydown',
            (e) => {
                this.tabPressed = e.key === 'Tab';
            },
            true,
        );
        document.addEventListener('pointerdown', () => (this.tabPressed = false), true);
        canvas.addEventListener('focus', () => this.onFocus());
        canvas.addEventListener('keydown', (e) => this.onKey(e));
        canvas.addEventListener('pointerdown', (e) => this.onPointerDown(e));
        canvas.addEventListener('pointermove', (e) => this.onPointerMove(e));
        canvas.addEventListener('pointerup', (e) => this.onPointerUp(e));
        canvas.addEventListener('pointercancel', (e) => this.onPointerCancel(e));
        canvas.addEventListener('contextmenu', (e) => e.preventDefault());
    }

    // Draws the eyepiece: the black field, the rotation picture, the
    // magnification text, then the engine's marks in order.
    draw(frame: EyepieceFrame): void {
        this.lastFrame = frame;
        const ctx = this.ctx;
        ctx.fillStyle = '#000';
        ctx.fillRect(0, 0, VIEW_WIDTH, VIEW_HEIGHT);
        // Without the pictures (their index could not be read) a plain disc
        // stands in, as on the desktop, so the view stays usable.
        if (this.atlas) this.atlas.draw(ctx, frame.pictureNumber, frame.magIndex, this.home.x, this.home.y);
        else drawPlainDisc(ctx, frame.magIndex, this.home.x, this.home.y);
        drawMagnification(ctx, frame.magnificationText);
        for (const m of frame.marks) {
            ctx.fillStyle = `rgb(${m.r}, ${m.g}, ${m.b})`;
            ctx.fillRect(m.x, m.y, m.w, m.h);
        }
    }

    // The keyboard's crosshair goes back to nothing (a new session).
    clearMark(): void {
        this.mark = null;
        this.keyMark = false;
        this.drawOverlay();
    }

    // Where a pointer is, in view pixels (the canvas may be shown smaller or
    // larger than its 628 x 326 pixels).
    private viewPoint(e: PointerEvent): ViewPoint {
        const r = this.canvas.getBoundingClientRect();
        const sx = r.width > 0 ? VIEW_WIDTH / r.width : 1;
        const sy = r.height > 0 ? VIEW_HEIGHT / r.height : 1;
        return {
            x: Math.floor((e.clientX - r.left) * sx + 1e-6),
            y: Math.floor((e.clientY - r.top) * sy + 1e-6),
        };
    }

    private static inside(p: ViewPoint): boolean {
        return p.x >= 0 && p.y >= 0 && p.x < VIEW_WIDTH && p.y < VIEW_HEIGHT;
    }

    private onPointerDown(e: PointerEvent): void {
        if (e.pointerType === 'mouse' && e.button !== 0) return;
        if (this.dragging !== null) return;
        const p = this.viewPoint(e);
        if (!EyepieceView.inside(p)) return;
        this.dragging = e.pointerId;
        this.canvas.setPointerCapture(e.pointerId);
        this.lastInside = p;
        // The mouse shows the crosshair cursor; a finger or a pen, which
        // hide what they touch, get the drawn crosshair.
        if (e.pointerType === 'mouse') {
            this.mark = null;
            this.canvas.classList.add('placing');
        } else {
            this.mark = p;
        }
        this.keyMark = false;
        this.drawOverlay();
        this.onPlace?.(p, false);
        if (e.pointerType !== 'mouse') e.preventDefault();
    }

    private onPointerMove(e: PointerEvent): void {
        if (this.dragging !== e.pointerId) return;
        const p = this.viewPoint(e);
        // Points off the picture are not evaluated.
        if (!EyepieceView.inside(p)) {
            this.canvas.classList.remove('placing');
            return;
        }
        if (e.pointerType === 'mouse') this.canvas.classList.add('placing');
        else {
            this.mark = p;
            this.drawOverlay();
        }
        this.lastInside = p;
        this.onPlace?.(p, false);
    }

    private onPointerUp(e: PointerEvent): void {
        if (this.dragging !== e.pointerId) return;
        this.dragging = null;
        this.canvas.classList.remove('placing');
        // A release off the picture completes the placement at the last point
        // on it: a reading is only ever taken where the picture is.
        const p = this.viewPoint(e);
        const at = EyepieceView.inside(p) ? p : this.lastInside;
        if (!at) return;
        if (e.pointerType !== 'mouse') {
            this.mark = at;
            this.drawOverlay();
        }
        this.onPlace?.(at, true);
    }

    private onPointerCancel(e: PointerEvent): void {
        if (this.dragging !== e.pointerId) return;
        // The browser took the gesture (a scroll, a zoom): the last point on
        // the picture completes the placement.
        this.dragging = null;
        this.canvas.classList.remove('placing');
        if (this.lastInside) this.onPlace?.(this.lastInside, true);
    }

    private onFocus(): void {
        if (this.tabPressed && !this.keyMark) {
            this.mark = { ...this.home };
            this.keyMark = true;
            this.drawOverlay();
            this.onPlace?.(this.mark, true);
        }
    }

    private onKey(e: KeyboardEvent): void {
        if (e.altKey || e.ctrlKey || e.metaKey) return;
        let dx = 0;
        let dy = 0;
        switch (e.key) {
            case 'ArrowLeft':
                dx = -1;
                break;
            case 'ArrowRight':
                dx = 1;
                break;
            case 'ArrowUp':
                dy = -1;
                break;
            case 'ArrowDown':
                dy = 1;
                break;
            case 'Enter':
                e.preventDefault();
                this.onEnter?.();
                return;
            default:
                return;
        }
        e.preventDefault();
        const step = e.shiftKey ? 10 : 1;
        const from = this.keyMark && this.mark ? this.mark : this.home;
        this.mark = {
            x: Math.min(Math.max(from.x + dx * step, 0), VIEW_WIDTH - 1),
            y: Math.min(Math.max(from.y + dy * step, 0), VIEW_HEIGHT - 1),
        };
        this.keyMark = true;
        this.drawOverlay();
        this.onPlace?.(this.mark, true);
    }

    private drawOverlay(): void {
        const c = this.overlayCtx;
        c.clearRect(0, 0, VIEW_WIDTH, VIEW_HEIGHT);
        if (!this.mark) return;
        const { x, y } = this.mark;
        c.fillStyle = markColour;
        c.fillRect(x - markGap - markArm, y, markArm, 1);
        c.fillRect(x + markGap + 1, y, markArm, 1);
        c.fillRect(x, y - markGap - markArm, 1, markArm);
        c.fillRect(x, y + markGap + 1, 1, markArm);
    }
}

// " 100x " in bold black on a white box that holds the text's line, at (10, 10).
function drawMagnification(ctx: CanvasRenderingContext2D, text: string): void {
    ctx.save();
    ctx.font = "bold 13px 'Liberation Sans', Arial, Helvetica, sans-serif";
    ctx.textBaseline = 'alphabetic';
    const m = ctx.measureText(text);
    const ascent = Math.ceil(m.fontBoundingBoxAscent ?? 12);
    const descent = Math.ceil(m.fontBoundingBoxDescent ?? 3);
    ctx.fillStyle = '#fff';
    ctx.fillRect(10, 10, Math.ceil(m.width), ascent + descent);
    ctx.fillStyle = '#000';
    ctx.fillText(text, 10, 10 + ascent);
    ctx.restore();
}

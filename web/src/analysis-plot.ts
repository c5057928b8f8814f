// SPDX-License-Identifier: GPL-3.0-or-later
// The orbit analysis plot ("Orbit plot"): the engine's picture of one moon's
// offsets drawn pixel for pixel on a 654 x 336 canvas, and the measuring
// cross moved by mouse, touch, pen and keyboard. The same drawing serves
// the printout (in the printout's colours).

import type { PlotPicture, PlotShape } from './core';

export const PLOT_WIDTH = 654;
export const PLOT_HEIGHT = 336;

// Two presses this close in time and place are a double click (or a double
// tap, for which the browser sends no dblclick while the plot takes the touch).
const doublePressMs = 450;
const doublePressPixels = 6;

type Ctx = CanvasRenderingContext2D;

interface Box {
    x: number;
    y: number;
    w: number;
    h: number;
}

// A run of pixels: fills the rectangle, cut to `clip` when given.
function fill(ctx: Ctx, x: number, y: number, w: number, h: number, clip: Box | null): void {
    if (clip) {
        const x0 = Math.max(x, clip.x);
        const y0 = Math.max(y, clip.y);
        const x1 = Math.min(x + w, clip.x + clip.w);
        const y1 = Math.min(y + h, clip.y + clip.h);
        if (x1 <= x0 || y1 <= y0) return;
        ctx.fillRect(x0, y0, x1 - x0, y1 - y0);
        return;
    }
    ctx.fillRect(x, y, w, h);
}

// The pixels of the line from (x1, y1) to (x2, y2) by Bresenham's rule, both
// ends included, filled in runs along the line's major axis.
function line(ctx: Ctx, x1: number, y1: number, x2: number, y2: number, clip: Box | null): void {
    const dx = Math.abs(x2 - x1);
    const dy = Math.abs(y2 - y1);
    const sx = x2 >= x1 ? 1 : -1;
    const sy = y2 >= y1 ? 1 : -1;
    if (dx === 0 || dy === 0) {
        fill(ctx, Math.min(x1, x2), Math.min(y1, y2), dx + 1, dy + 1, clip);
        return;
    }
    if (dx >= dy) {
        // Horizontal runs: one per row.
        let err = 2 * dy - dx;
        let y = y1;
        let runStart = x1;
        for (let i = 0, x = x1; i <= dx; i++, x += sx) {
            if (i === dx) {
                fill(ctx, Math.min(runStart, x), y, Math.abs(x - runStart) + 1, 1, clip);
                break;
            }
            if (err > 0) {
                fill(ctx, Math.min(runStart, x), y, Math.abs(x - runStart) + 1, 1, clip);
                y += sy;
                err -= 2 * dx;
                runStart = x + sx;
            }
            err += 2 * dy;
        }
    } else {
        let err = 2 * dx - dy;
        let x = x1;
        let runStart = y1;
        for (let i = 0, y = y1; i <= dy; i++, y += sy) {
            if (i === dy) {
                fill(ctx, x, Math.min(runStart, y), 1, Math.abs(y - runStart) + 1, clip);
                break;
            }
            if (err > 0) {
                fill(ctx, x, Math.min(runStart, y), 1, Math.abs(y - runStart) + 1, clip);
                x += sx;
                err -= 2 * dy;
                runStart = y + sy;
            }
            err += 2 * dx;
        }
    }
}

// A piece of a pen's way from point to point: a horizontal, vertical or
// diagonal piece leaves its end pixel to the next piece.
function penPiece(ctx: Ctx, x1: number, y1: number, x2: number, y2: number, clip: Box | null): void {
    if (x1 === x2 && y1 === y2) return;
    const adx = Math.abs(x2 - x1);
    const ady = Math.abs(y2 - y1);
    if (adx === 0 || ady === 0 || adx === ady) {
        x2 -= Math.sign(x2 - x1);
        y2 -= Math.sign(y2 - y1);
    }
    line(ctx, x1, y1, x2, y2, clip);
}

// The outline of the ellipse inscribed in a w x h box: the pixels whose
// centres lie inside it and that have a neighbour (left, right, above,
// below) outside.
function ellipsePixels(w: number, h: number): [number, number][] {
    const rx = w / 2;
    const ry = h / 2;
    const inside = (i: number, j: number) => {
        if (i < 0 || j < 0 || i >= w || j >= h) return false;
        const u = (i + 0.5 - rx) / rx;
        const v = (j + 0.5 - ry) / ry;
        return u * u + v * v <= 1 + 1e-9;
    };
    const out: [number, number][] = [];
    for (let j = 0; j < h; j++)
        for (let i = 0; i < w; i++)
            if (inside(i, j) && !(inside(i - 1, j) && inside(i + 1, j) && inside(i, j - 1) && inside(i, j + 1))) out.push([i, j]);
    return out;
}

// Every point of a plot is the same small ellipse in the same colour: drawn
// once into a sprite, then copied, which keeps a slider step with hundreds
// of points quick.
const sprites = new Map<string, HTMLCanvasElement>();

function ellipse(ctx: Ctx, b: Box, colour: string): void {
    if (b.w <= 0 || b.h <= 0) return;
    const key = `${b.w}x${b.h}${colour}`;
    let sprite = sprites.get(key);
    if (!sprite) {
        sprite = document.createElement('canvas');
        sprite.width = b.w;
        sprite.height = b.h;
        const sc = sprite.getContext('2d');
        if (!sc) return;
        sc.fillStyle = colour;
        for (const [i, j] of ellipsePixels(b.w, b.h)) sc.fillRect(i, j, 1, 1);
        if (sprites.size > 32) sprites.clear();
        sprites.set(key, sprite);
    }
    ctx.drawImage(sprite, b.x, b.y);
}

function drawShape(ctx: Ctx, s: PlotShape, picture: PlotPicture, ascent: number): void {
    ctx.fillStyle = s.colour;
    switch (s.kind) {
        case 'fill':
            ctx.fillRect(s.x, s.y, s.w, s.h);
            return;
        case 'rect':
            if (s.w <= 0 || s.h <= 0) return;
            ctx.fillRect(s.x, s.y, s.w, 1);
            ctx.fillRect(s.x, s.y + s.h - 1, s.w, 1);
            ctx.fillRect(s.x, s.y, 1, s.h);
            ctx.fillRect(s.x + s.w - 1, s.y, 1, s.h);
            return;
        case 'line':
            line(ctx, s.x1, s.y1, s.x2, s.y2, null);
            return;
        case 'ellipse':
            ellipse(ctx, s, s.colour);
            return;
        case 'polyline': {
            const clip = s.clip ? picture.interior : null;
            const p = s.points;
            for (let k = 2; k + 1 < p.length; k += 2) penPiece(ctx, p[k - 2], p[k - 1], p[k], p[k + 1], clip);
            return;
        }
        case 'path': {
            const p = s.points;
            if (p.length < 4) return;
            ctx.save();
            if (s.clip) {
                const c = picture.interior;
                ctx.beginPath();
                ctx.rect(c.x, c.y, c.w, c.h);
                ctx.clip();
            }
            ctx.strokeStyle = s.colour;
            ctx.lineWidth = 1;
            ctx.setLineDash(s.dash);
            ctx.beginPath();
            ctx.moveTo(p[0] + 0.5, p[1] + 0.5);
            for (let k = 2; k + 1 < p.length; k += 2) ctx.lineTo(p[k] + 0.5, p[k + 1] + 0.5);
            ctx.stroke();
            ctx.restore();
            return;
        }
        case 'text':
            ctx.fillText(s.text, s.x, s.y + ascent);
            return;
    }
}

// Draws the engine's picture into the context at its origin.
export function drawPlotPicture(ctx: Ctx, picture: PlotPicture): void {
    ctx.save();
    ctx.font = `bold ${picture.fontPixels}px "Liberation Sans", Arial, Helvetica, sans-serif`;
    ctx.textBaseline = 'alphabetic';
    // The text's top-left corner is given: the baseline lies one ascent below.
    const m = ctx.measureText('Jy');
    const ascent = Math.round(m.fontBoundingBoxAscent ?? picture.fontPixels * 0.9);
    for (const s of picture.shapes) drawShape(ctx, s, picture, ascent);
    ctx.restore();
}

// The picture as a PNG for a printout.
export function plotPictureUrl(picture: PlotPicture): string {
    const c = document.createElement('canvas');
    c.width = picture.width;
    c.height = picture.height;
    const ctx = c.getContext('2d', { alpha: false });
    if (!ctx) return '';
    drawPlotPicture(ctx, picture);
    return c.toDataURL('image/png');
}

export interface PlotPixel {
    x: number;
    y: number;
}

// What the student does on the plot, in plot pixels.
export interface PlotInput {
    press(p: PlotPixel): void;
    move(p: PlotPixel): void;
    release(p: PlotPixel): void;
    // The second press of a double click or a double tap, after press().
    double(p: PlotPixel): void;
    // A key on the plot; true when it was the plot's.
    key(e: KeyboardEvent): boolean;
}

export class PlotView {
    readonly canvas: HTMLCanvasElement;
    private readonly ctx: Ctx;
    private pointer: number | null = null; // the pointer that moves the cross
    private lastPress: { t: number; x: number; y: number } | null = null;

    constructor(canvas: HTMLCanvasElement, private readonly input: PlotInput) {
        this.canvas = canvas;
        canvas.width = PLOT_WIDTH;
        canvas.height = PLOT_HEIGHT;
        const ctx = canvas.getContext('2d', { alpha: false });
        if (!ctx) throw new Error('The browser cannot draw on a canvas.');
        this.ctx = ctx;
        ctx.imageSmoothingEnabled = false;
        canvas.addEventListener('pointerdown', (e) => this.onDown(e));
        canvas.addEventListener('pointermove', (e) => {
            // A mouse over the plot moves too while no button is held: after
            // a double click, that is what hides the cross.
            if (this.pointer === null && e.pointerType !== 'mouse') return;
            if (this.pointer !== null && e.pointerId !== this.pointer) return;
            this.input.move(this.pixelOf(e));
        });
        const end = (e: PointerEvent) => {
            if (e.pointerId !== this.pointer) return;
            this.pointer = null;
            this.input.release(this.pixelOf(e));
        };
        canvas.addEventListener('pointerup', end);
        canvas.addEventListener('pointercancel', end);
        canvas.addEventListener('contextmenu', (e) => e.preventDefault());
        canvas.addEventListener('keydown', (e) => {
            if (this.input.key(e)) {
                e.preventDefault();
                e.stopPropagation();
            }
        });
    }

    draw(picture: PlotPicture): void {
        drawPlotPicture(this.ctx, picture);
    }

    // The plot pixel under a pointer, whatever size the page shows the canvas at.
    private pixelOf(e: PointerEvent | MouseEvent): PlotPixel {
        const r = this.canvas.getBoundingClientRect();
        const x = Math.floor(((e.clientX - r.left) * PLOT_WIDTH) / Math.max(r.width, 1));
        const y = Math.floor(((e.clientY - r.top) * PLOT_HEIGHT) / Math.max(r.height, 1));
        return { x: Math.min(Math.max(x, 0), PLOT_WIDTH - 1), y: Math.min(Math.max(y, 0), PLOT_HEIGHT - 1) };
    }

    private onDown(e: PointerEvent): void {
        // The left button, a finger or a pen.
        if (e.button !== 0) return;
        e.preventDefault();
        this.canvas.focus({ preventScroll: true });
        const p = this.pixelOf(e);
        this.pointer = e.pointerId;
        try {
            this.canvas.setPointerCapture(e.pointerId);
        } catch {
            // A pointer the browser no longer knows: the move events still come.
        }
        this.input.press(p);
        const now = performance.now();
        const last = this.lastPress;
        const isDouble =
            !!last &&
            now - last.t <= doublePressMs &&
            Math.abs(p.x - last.x) <= doublePressPixels &&
            Math.abs(p.y - last.y) <= doublePressPixels;
        this.lastPress = isDouble ? null : { t: now, x: p.x, y: p.y };
        if (isDouble) {
            // The question that follows takes the pointer's place.
            this.pointer = null;
            this.input.double(p);
        }
    }
}

// SPDX-License-Identifier: GPL-3.0-or-later
// The rotation pictures of Jupiter's disc, made at build time for each
// magnification and packed into PNG sheets. A picture is copied pixel for
// pixel from its sheet into the view: the build scaled it exactly as the
// desktop does, so the page never scales.

export interface AtlasPiece {
    sheet: number; // index into sheets
    x: number; // where the picture lies on its sheet
    y: number;
    w: number;
    h: number;
    dx: number; // its top-left corner relative to the view centre
    dy: number;
}

export interface AtlasIndex {
    sheets: string[]; // URLs relative to the page
    // picture number (1..573) -> one piece per magnification index
    pictures: Record<string, AtlasPiece[]>;
}

// The colour of the plain disc drawn when a picture cannot be had.
const plainDisc = 'rgb(210, 180, 140)';

export class RotationAtlas {
    private sheets: (ImageBitmap | HTMLImageElement | null)[];
    private loading = new Map<number, Promise<void>>();
    private failed = new Set<number>();
    // Called when a sheet that a drawing waited for has arrived.
    onSheetLoaded: (() => void) | null = null;

    private constructor(
        private readonly index: AtlasIndex,
        private readonly base: URL,
    ) {
        this.sheets = index.sheets.map(() => null);
    }

    static async load(indexUrl: string): Promise<RotationAtlas> {
        const url = new URL(indexUrl, document.baseURI);
        const res = await fetch(url);
        if (!res.ok) throw new Error(`${url}: ${res.status}`);
        const index = (await res.json()) as AtlasIndex;
        if (!Array.isArray(index.sheets) || typeof index.pictures !== 'object') {
            throw new Error(`${url}: not an atlas index`);
        }
        return new RotationAtlas(index, new URL(document.baseURI));
    }

    piece(picture: number, magIndex: number): AtlasPiece | undefined {
        return this.index.pictures[String(picture)]?.[magIndex];
    }

    // Fetches the sheets that hold the magnification's pictures (the first
    // drawing needs only these); resolves when they are in.
    preload(magIndex: number, picture?: number): Promise<void> {
        const wanted = new Set<number>();
        if (picture !== undefined) {
            const p = this.piece(picture, magIndex);
            if (p) wanted.add(p.sheet);
        } else {
            for (const pieces of Object.values(this.index.pictures)) {
                const p = pieces[magIndex];
                if (p) wanted.add(p.sheet);
            }
        }
        return Promise.all([...wanted].map((s) => this.sheet(s))).then(() => undefined);
    }

    private sheet(i: number): Promise<void> {
        let p = this.loading.get(i);
        if (!p) {
            p = this.fetchSheet(i);
            this.loading.set(i, p);
        }
        return p;
    }

    private async fetchSheet(i: number): Promise<void> {
        try {
            const res = await fetch(new URL(this.index.sheets[i], this.base));
            if (!res.ok) throw new Error(String(res.status));
            const blob = await res.blob();
            this.sheets[i] =
                typeof createImageBitmap === 'function'
                    ? await createImageBitmap(blob, { premultiplyAlpha: 'none', colorSpaceConversion: 'none' })
                    : await imageFromBlob(blob);
        } catch {
            this.failed.add(i);
        }
    }

    // Draws the picture centred on (cx, cy). True when the picture itself was
    // drawn; false when its sheet is still on its way (it will be fetched and
    // onSheetLoaded called) or could not be had (a plain disc stands in, as on
    // the desktop, so the view stays usable).
    draw(ctx: CanvasRenderingContext2D, picture: number, magIndex: number, cx: number, cy: number): boolean {
        const p = this.piece(picture, magIndex);
        if (!p) {
            drawPlainDisc(ctx, magIndex, cx, cy);
            return false;
        }
        const sheet = this.sheets[p.sheet];
        if (sheet) {
            ctx.drawImage(sheet, p.x, p.y, p.w, p.h, cx + p.dx, cy + p.dy, p.w, p.h);
            return true;
        }
        if (this.failed.has(p.sheet)) {
            drawPlainDisc(ctx, magIndex, cx, cy, p);
            return false;
        }
        void this.sheet(p.sheet).then(() => this.onSheetLoaded?.());
        return false;
    }
}

function imageFromBlob(blob: Blob): Promise<HTMLImageElement> {
    return new Promise((resolve, reject) => {
        const img = new Image();
        const url = URL.createObjectURL(blob);
        img.onload = () => {
            URL.revokeObjectURL(url);
            resolve(img);
        };
        img.onerror = () => {
            URL.revokeObjectURL(url);
            reject(new Error('picture could not be decoded'));
        };
        img.src = url;
    });
}

// The stand-in for a picture that could not be read: a plain tan disc of the
// picture's size (or, without even its size, of Jupiter's radius at the
// magnification: 10, 20, 30, 40 pixels).
export function drawPlainDisc(ctx: CanvasRenderingContext2D, magIndex: number, cx: number, cy: number, p?: AtlasPiece): void {
    const r = 10 * (magIndex + 1);
    const w = p ? p.w : 2 * r;
    const h = p ? p.h : 2 * r;
    const x = p ? cx + p.dx : cx - r;
    const y = p ? cy + p.dy : cy - r;
    ctx.save();
    ctx.fillStyle = plainDisc;
    ctx.beginPath();
    ctx.ellipse(x + w / 2, y + h / 2, w / 2, h / 2, 0, 0, 2 * Math.PI);
    ctx.fill();
    ctx.restore();
}

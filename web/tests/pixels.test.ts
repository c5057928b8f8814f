// SPDX-License-Identifier: GPL-3.0-or-later
// The eyepiece drawn pixel for pixel: at every magnification each moon's dot
// (and a transiting shadow) lies where the engine's positions put it, in the
// dot's shape and colour, an eclipsed or hidden moon is not drawn, and the
// field around the disc and the magnification text is black.
import { expect, test } from '@playwright/test';
import { button, command, menu, run, setDateTime, start, viewCanvas } from './support/app';
import { moonLayer, moonPixel, readCanvas, skyAt, viewHeight, viewWidth } from './support/core';
import { julianDate } from './support/texts';

// Instants with something to see: Io's shadow on the disc; Ganymede eclipsed
// beside the planet; the five nights of the observing session's first.
const instants = [
    { date: '2025/01/10', time: '01:00:00', jd: julianDate(2025, 1, 10, 1), what: "Io's shadow on the disc" },
    { date: '2025/01/10', time: '05:00:00', jd: julianDate(2025, 1, 10, 5), what: 'Ganymede eclipsed' },
    { date: '2025/01/12', time: '03:00:00', jd: julianDate(2025, 1, 12, 3), what: 'an ordinary night' },
];

// The disc's picture fills m × (20 × 18.7) pixels around the centre; a margin
// for the smoothing of its edge.
function inDiscOrText(x: number, y: number, magIndex: number): boolean {
    const m = magIndex + 1;
    const halfW = 10 * m + 2;
    const halfH = Math.round((232 * m) / 12.4) / 2 + 2;
    const disc = Math.abs(x - 314) <= halfW && Math.abs(y - 163) <= halfH;
    const text = x < 120 && y < 40;
    return disc || text;
}

test('the moons are drawn where the engine puts them, at every magnification', async ({ page }) => {
    await start(page);
    await run(page, instants[0].date, instants[0].time);
    const canvas = await viewCanvas(page);
    await expect(canvas).toHaveJSProperty('width', viewWidth);
    await expect(canvas).toHaveJSProperty('height', viewHeight);
    const selector = await canvas.evaluate((c) => {
        c.setAttribute('data-test-view', '');
        return '[data-test-view]';
    });
    let checkedDots = 0;
    for (const [n, at] of instants.entries()) {
        if (n > 0) {
            await command(page, ...menu.setDateTime);
            await setDateTime(page, at.date, at.time);
        }
        const sky = await skyAt(page, at.jd);
        for (let mag = 0; mag < 4; ++mag) {
            const where = `${at.date} ${at.time} (${at.what}) at ${100 * (mag + 1)}X`;
            // The engine's pixels are the positions rounded by the drawing rules.
            for (let i = 0; i < 4; ++i) expect(sky.pixels[mag][i], where).toEqual(moonPixel(sky.moons[i], mag));
            await button(page, `${100 * (mag + 1)}X`).click();
            const layer = moonLayer(sky, mag);
            const differences = async () => {
                const rgba = await readCanvas(page, selector);
                const wrong: string[] = [];
                for (let y = 0; y < viewHeight; ++y) {
                    for (let x = 0; x < viewWidth; ++x) {
                        const k = y * viewWidth + x;
                        const got = [rgba[4 * k], rgba[4 * k + 1], rgba[4 * k + 2]];
                        const want = layer.get(k) ?? (inDiscOrText(x, y, mag) ? null : [0, 0, 0]);
                        if (want && (got[0] !== want[0] || got[1] !== want[1] || got[2] !== want[2]))
                            wrong.push(`(${x},${y}) ${got} not ${want}`);
                    }
                }
                return `${wrong.length} pixels differ ${wrong.slice(0, 12).join('; ')}`;
            };
            // The page draws at its next frame: read until it has.
            await expect.poll(differences, { message: where, timeout: 5_000 }).toBe('0 pixels differ ');
            checkedDots += layer.size;
        }
    }
    expect(checkedDots).toBeGreaterThan(100);
});

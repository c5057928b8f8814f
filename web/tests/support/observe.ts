// SPDX-License-Identifier: GPL-3.0-or-later
// Nights at the telescope as a group spends them: every moon the 100X field
// shows is measured and recorded, with the mouse on most nights and with the
// keyboard crosshair alone on every `keyboardEvery`-th; "Next" ends a night.
import { expect, type Page } from '@playwright/test';
import { button, dialog, placeWithMouse, readoutPanel, steer, tabTo, telescopeView } from './app';
import { measurable, moonPixel, skyAt } from './core';
import { cursorReading, entryBoxText, fixedText, moonIds } from './texts';

const boxLabels = ['Io (1):', 'Europa (2):', 'Ganymede (3):', 'Callisto (4):'];

// The crosshair's pixel as the read-out says it, or null when it is hidden.
export async function crosshairAt(page: Page): Promise<{ x: number; y: number } | null> {
    const m = /X: (\d+), Y: (\d+)/.exec(await readoutPanel(page).innerText());
    return m ? { x: Number(m[1]), y: Number(m[2]) } : null;
}

// Where the crosshair is, with the view focused. After a redraw the
// read-outs are empty: one step out and back shows where it is.
export async function crosshairShown(page: Page, where: string): Promise<{ x: number; y: number }> {
    let at = await crosshairAt(page);
    if (!at) {
        await page.keyboard.press('ArrowRight');
        await page.keyboard.press('ArrowLeft');
        at = await crosshairAt(page);
    }
    expect(at, where).not.toBeNull();
    return at!;
}

// Observes `nights` nights from the UT Julian date the desk shows (`first`),
// one data interval (24 h) apart. Returns how many values were recorded.
export async function observeNights(page: Page, first: number, nights: number, keyboardEvery = 4): Promise<number> {
    const view = telescopeView(page).first();
    const panel = readoutPanel(page);
    const entry = dialog(page, 'Record/Edit Measurements');
    let recorded = 0;
    await button(page, '100X').click();
    for (let night = 0; night < nights; ++night) {
        const jd = first + night;
        await expect(panel).toContainText(`Jul. Day: ${fixedText(jd, 5)}`);
        const sky = await skyAt(page, jd);
        const keyboard = night % keyboardEvery === keyboardEvery - 1;
        for (let moon = 1; moon <= 4; ++moon) {
            if (!measurable(sky, moon, 0)) continue;
            const p = moonPixel(sky.moons[moon - 1], 0);
            const where = `night ${night}, ${moonIds[moon]}`;
            if (keyboard) {
                await tabTo(page, view);
                await steer(page, await crosshairShown(page, where), p);
            } else {
                await placeWithMouse(page, p.x, p.y);
            }
            await expect(panel, where).toContainText(`X: ${p.x}, Y: ${p.y}`);
            await expect(panel, where).toContainText(moonIds[moon]);
            if (keyboard) await page.keyboard.press('Enter');
            else await button(page, 'Record').click();
            await expect(entry, where).toBeVisible();
            await expect(entry.getByLabel(boxLabels[moon - 1]), where).toHaveValue(entryBoxText(cursorReading(p.x, 0)));
            if (keyboard) {
                await page.keyboard.press('Enter'); // the value as filled in, confirmed
                await expect(entry).toBeHidden();
            }
            ++recorded;
        }
        if (keyboard) {
            await tabTo(page, button(page, 'Next'));
            await page.keyboard.press('Space');
        } else {
            await button(page, 'Next').click();
        }
    }
    await expect(panel).toContainText(`Jul. Day: ${fixedText(first + nights, 5)}`);
    return recorded;
}

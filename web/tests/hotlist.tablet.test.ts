// SPDX-License-Identifier: GPL-3.0-or-later
// The hotlist window on a tablet, by touch: a date put on the list and
// taken from it again; the window checked with axe and photographed.
import { expect, test, type Locator } from '@playwright/test';
import { checkScreen, dialog, logIn, menu } from './support/app';

async function tap(target: Locator): Promise<void> {
    await expect(target).toBeVisible();
    const box = (await target.boundingBox())!;
    expect(box.width >= 24 && box.height >= 24, `${await target.textContent()} is ${box.width}×${box.height}`).toBe(true);
    await target.tap();
}

test('the hotlist window by touch', async ({ page }) => {
    await page.goto('/');
    await logIn(page, { names: ['Annie Cannon'], table: '5' });
    for (const item of menu.run) await tap(page.getByRole('menuitem', { name: item, exact: true }).first());
    const when = dialog(page, 'Set Date/Time');
    await when.getByLabel('Observation Date').fill('2025/03/01');
    await when.getByLabel(/Universal Time/).fill('04:30:00');
    const hotlistItem = async (name: string) => {
        await tap(when.getByRole('menuitem', { name: 'Hotlist', exact: true }));
        await tap(when.getByRole('menuitem', { name, exact: true }));
    };
    await hotlistItem('Put Date/Time on Hotlist...');
    await hotlistItem('Access Hotlist...');
    const hot = dialog(page, 'Select Date/Time for Observation');
    const mine = hot.getByRole('option', { name: '2025/03/01 04:30:00', exact: true });
    await expect(mine).toHaveAttribute('aria-selected', 'true');
    const box = await hot.boundingBox();
    expect(box!.x >= 0 && box!.x + box!.width <= 768, 'the window fits the screen').toBe(true);
    await checkScreen(page, 'hotlist', 'the hotlist window');
    await tap(hot.getByRole('menuitem', { name: 'Selection', exact: true }));
    await tap(hot.getByRole('menuitem', { name: 'Choose Selection', exact: true }));
    await expect(hot).toBeHidden();
    await expect(when.getByLabel(/Universal Time/)).toHaveValue('04:30:00');
});

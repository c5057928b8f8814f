// SPDX-License-Identifier: GPL-3.0-or-later
// The texts the desktop shows for a reading and a record, written here from
// their rules so that the page's are checked against something it did not
// compute: the digits of the exact binary value, halves to even.

// The value with `decimals` digits after the point, rounded from its exact
// binary value, a tie to the even digit.
export function fixedText(value: number, decimals: number): string {
    const negative = value < 0 || Object.is(value, -0);
    const exact = Math.abs(value).toFixed(100); // every digit of a double
    const [whole, frac] = exact.split('.');
    const kept = BigInt(whole + frac.slice(0, decimals));
    const rest = frac.slice(decimals);
    const half = '5' + '0'.repeat(rest.length - 1);
    let n = kept;
    if (rest > half || (rest === half && n % 2n === 1n)) n += 1n;
    let digits = n.toString().padStart(decimals + 1, '0');
    if (decimals > 0) digits = digits.slice(0, -decimals) + '.' + digits.slice(-decimals);
    return (negative ? '-' : '') + digits;
}

// A float's own value (what a 4-byte real holds).
export function toFloat(v: number): number {
    return Math.fround(v);
}

// Jupiter diameters at view column x: (x - centre) / (2 × radius), east negative.
export function cursorReading(x: number, magIndex: number): number {
    return Math.fround((x - 314) / (2 * 10 * (magIndex + 1)));
}

export function offsetText(v: number): string {
    const t = fixedText(Math.abs(v), 2);
    return v < 0 || Object.is(v, -0) ? '-' + t : t;
}

// What the entry box shows: "2.50W", "1.25E", with "*" for a removed value.
export function entryBoxText(v: number | null, included = true): string {
    let t = '';
    if (v !== null) {
        t = offsetText(v);
        const east = t.startsWith('-');
        t = (east ? t.slice(1) : t) + (east ? 'E' : 'W');
    }
    return included ? t : t + '*';
}

export function readingText(reading: number, dxPixels: number): string {
    return `X = ${fixedText(Math.abs(reading), 2)}${dxPixels < 0 ? 'E' : 'W'} (Jup. Diam.)`;
}

export const moonIds = ['', 'I. Io', 'II. Europa', 'III. Ganymede', 'IV. Callisto'];
export const moonNames = ['', 'Io', 'Europa', 'Ganymede', 'Callisto'];

// A line of the review list.
export function reviewLine(julianDate: number, offsets: (number | null)[], included = [true, true, true, true]): string {
    let line = fixedText(julianDate, 5) + ' ';
    for (let m = 0; m < 4; ++m) {
        const v = offsets[m];
        if (v === null || v === undefined) {
            line += ' '.repeat(10);
            continue;
        }
        let t = offsetText(v);
        const negative = t.startsWith('-');
        t = ' ' + t + (included[m] ? ' ' : '*');
        if (!negative) t = ' ' + t;
        t = Math.abs(v) < 10 ? ' ' + t + '  ' : t + '  ';
        line += t;
    }
    return line;
}

// The Julian date of a Gregorian calendar date and UT.
export function julianDate(y: number, mo: number, d: number, h = 0, mi = 0, s = 0): number {
    const a = Math.floor((14 - mo) / 12);
    const yy = y + 4800 - a;
    const mm = mo + 12 * a - 3;
    const jdn =
        d + Math.floor((153 * mm + 2) / 5) + 365 * yy + Math.floor(yy / 4) - Math.floor(yy / 100) + Math.floor(yy / 400) - 32045;
    return jdn - 0.5 + (h + mi / 60 + s / 3600) / 24;
}

const months = ['January', 'February', 'March', 'April', 'May', 'June', 'July', 'August', 'September', 'October', 'November', 'December'];

export function dateLabel(y: number, mo: number, d: number): string {
    return `${months[mo - 1]} ${d}, ${y}`;
}

// What the table holds once the entry form's boxes were read: the value as
// its box shows it, to two decimals, as a 4-byte real.
export function recordedValue(reading: number): number {
    return Math.fround(Number(offsetText(reading)));
}

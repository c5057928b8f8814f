// SPDX-License-Identifier: GPL-3.0-or-later
// The .DAT layout, read and written here from its description: 32-byte
// records of a 10-byte extended real Julian date, two reserved bytes, four
// little-endian 32-bit offsets (100 = not measured) and four inclusion bytes.

export interface DatRecord {
    jd: number;
    offsets: number[]; // Io..Callisto
    included: boolean[];
}

export function decodeDat(bytes: Buffer): DatRecord[] {
    const out: DatRecord[] = [];
    for (let at = 0; at + 32 <= bytes.length; at += 32) {
        const mantissa = bytes.readBigUInt64LE(at);
        const se = bytes.readUInt16LE(at + 8);
        const jd = Number(mantissa) * 2 ** ((se & 0x7fff) - 16383 - 63) * (se & 0x8000 ? -1 : 1);
        const offsets = [0, 1, 2, 3].map((m) => bytes.readFloatLE(at + 12 + 4 * m));
        const included = [0, 1, 2, 3].map((m) => bytes[at + 28 + m] !== 0);
        out.push({ jd, offsets, included });
    }
    return out;
}

// One record; the date a positive double, held exactly in the 64-bit significand.
export function encodeDatRecord(r: DatRecord): Buffer {
    const out = Buffer.alloc(32);
    const d = Buffer.alloc(8);
    d.writeDoubleLE(r.jd);
    const bits = d.readBigUInt64LE();
    const exponent = Number((bits >> 52n) & 0x7ffn);
    const significand = ((1n << 52n) | (bits & ((1n << 52n) - 1n))) << 11n;
    out.writeBigUInt64LE(significand, 0);
    out.writeUInt16LE(exponent - 1023 + 16383, 8);
    r.offsets.forEach((v, m) => out.writeFloatLE(v, 12 + 4 * m));
    r.included.forEach((inc, m) => (out[28 + m] = inc ? 1 : 0));
    return out;
}

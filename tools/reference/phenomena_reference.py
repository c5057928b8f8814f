#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Reference instants of Jupiter's phenomena from PyEphem (Debian: python3-ephem).

For each phenomenon the instant at which Jupiter's apparent geocentric ecliptic
longitude minus the Sun's, both in the equinox of date, equals the target:
180° opposition, 0° conjunction, -90° west quadrature (Jupiter 90° west of
the Sun, in the morning sky) and +90° east quadrature (in the evening sky).
Roots are scanned in two-day steps and refined by bisection to well below a
second; the jumps of the wrapped difference are passed over.

Writes lines "kind YYYY/MM/DD HH:MM:SS JD_UT" to standard output, sorted by time.

Usage: phenomena_reference.py FIRST_DATE LAST_DATE   (dates as "2021/01/01")
"""
import math
import sys

import ephem

DUBLIN_OFFSET = 2415020.0  # ephem.Date counts days from 1899-12-31 12h
TARGETS = [("opposition", math.pi), ("conjunction", 0.0),
           ("west-quadrature", -math.pi / 2), ("east-quadrature", math.pi / 2)]


def wrap(a):
    """One angle in -π..π."""
    a = math.fmod(a, 2 * math.pi)
    if a > math.pi:
        a -= 2 * math.pi
    if a < -math.pi:
        a += 2 * math.pi
    return a


def longitude_of_date(body, date):
    body.compute(date)
    return ephem.Ecliptic(ephem.Equatorial(body.ra, body.dec, epoch=date), epoch=date).lon


def offset(date, target):
    """Jupiter's longitude minus the Sun's, less the target, in -π..π."""
    diff = longitude_of_date(ephem.Jupiter(), date) - longitude_of_date(ephem.Sun(), date)
    return wrap(wrap(diff) - target)


def refine(target, a, b):
    fa = offset(a, target)
    for _ in range(60):
        m = (a + b) / 2
        fm = offset(m, target)
        if (fm < 0) == (fa < 0):
            a, fa = m, fm
        else:
            b = m
    return ephem.Date((a + b) / 2)


def main():
    first, last = ephem.Date(sys.argv[1]), ephem.Date(sys.argv[2])
    found = []
    for kind, target in TARGETS:
        d, prev = first, offset(first, target)
        while d < last:
            n = d + 2
            cur = offset(n, target)
            # A sign change across a small difference is a root; across ±π a jump.
            if (prev < 0) != (cur < 0) and abs(cur - prev) < 1:
                found.append((refine(target, d, n), kind))
            d, prev = n, cur
    for date, kind in sorted(found):
        print("%s %s %.5f" % (kind, date, date + DUBLIN_OFFSET))


if __name__ == "__main__":
    main()

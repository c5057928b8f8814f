#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Reference offsets of the Galilean moons from PyEphem (Debian: python3-ephem).

PyEphem takes the moons from the Bureau des Longitudes' satellite ephemerides
(tables for late 1999 to 2040 shipped inside the library); outside those years
it falls back to the same abridged theory as Quorvex and so is no independent
check. Every instant written here lies within the tables.

PyEphem gives each moon's offset from Jupiter in Jupiter radii on the sky,
east and south positive in the equatorial frame of the astrometric place
(J2000). Quorvex measures along and across Jupiter's projected rotation axis,
so the script turns PyEphem's offsets by the position angle of Jupiter's north
pole (IAU pole, Archinal et al. 2018) seen from the Earth: the result is X
west positive and Y toward Jupiter's north, the frame of EarthX and EarthY.

Writes CSV to standard output: JD_UT,Moon,EarthX,EarthY,EarthZ (Z positive
when the moon is farther than Jupiter).

Usage: galilean_reference.py [COUNT] > tests/core/ephemeris/data/galilean_reference.csv
"""
import math
import sys

import ephem

MOONS = [("Io", ephem.Io), ("Europa", ephem.Europa), ("Ganymede", ephem.Ganymede),
         ("Callisto", ephem.Callisto)]
FIRST_JD_UT = 2451545.0  # 2000-01-01 12h UT
LAST_JD_UT = 2465000.0   # 2036-11
DUBLIN_OFFSET = 2415020.0  # ephem.Date counts days from 1899-12-31 12h


def pole_position_angle(jd_ut, ra, dec):
    """Position angle (radians, from north through east) of Jupiter's north pole."""
    t = (jd_ut - 2451545.0) / 36525.0
    ra0 = math.radians(268.056595 - 0.006499 * t)
    dec0 = math.radians(64.495303 + 0.002413 * t)
    return math.atan2(math.cos(dec0) * math.sin(ra0 - ra),
                      math.sin(dec0) * math.cos(dec) - math.cos(dec0) * math.sin(dec) * math.cos(ra0 - ra))


def main():
    count = int(sys.argv[1]) if len(sys.argv) > 1 else 400
    # A step that is no simple fraction of a day, so the instants sample every
    # hour of the day and every phase of the orbits.
    step = (LAST_JD_UT - FIRST_JD_UT) / count + 0.2173
    jupiter = ephem.Jupiter()
    print("JD_UT,Moon,EarthX,EarthY,EarthZ")
    for k in range(count):
        jd = FIRST_JD_UT + k * step
        if jd > LAST_JD_UT:
            break
        date = ephem.Date(jd - DUBLIN_OFFSET)
        jupiter.compute(date)
        pa = pole_position_angle(jd, float(jupiter.a_ra), float(jupiter.a_dec))
        for name, cls in MOONS:
            moon = cls()
            moon.compute(date)
            east, north = float(moon.x), -float(moon.y)
            # Along the axis (north) and across it (east), then west positive.
            along = east * math.sin(pa) + north * math.cos(pa)
            across = east * math.cos(pa) - north * math.sin(pa)
            print("%.5f,%s,%.4f,%.4f,%.4f" % (jd, name, -across, along, -float(moon.z)))


if __name__ == "__main__":
    main()

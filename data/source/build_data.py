#!/usr/bin/env python3
"""Builds the default data folder from the UTF-8 source tables next to this script.

    python3 data/source/build_data.py [OUTPUT_FOLDER]

Writes Comps.csv, TableSection7.csv, TableSection8.csv and CompsTime.csv (default: the folder above this
one) in the files' own format: Windows-1251, cells separated by ";", rows ended by CR LF, no quoting.
Numbers in Comps.csv and CompsTime.csv are written as the program itself writes them ("%f" and "%.4f"),
so that saving an unchanged table from the program reproduces the file byte for byte.
"""

import math
import re
import sys
from pathlib import Path

SOURCE = Path(__file__).resolve().parent

# Standard atomic weights (conventional values), g/mol.
ATOMIC_WEIGHT = {"C": 12.011, "H": 1.008, "N": 14.007, "O": 15.999, "S": 32.06, "He": 4.002602}

# The condensate is cut into boiling fractions from 45 °C: 45-60, then steps of 10 °C up to 590 °C; the
# gas uses the same fractions up to 230 °C.
FRACTION_BOUNDS = [(45, 60)] + [(t, t + 10) for t in range(60, 590, 10)]
GAS_FRACTION_END = 230
# The gas calculation lists components boiling below 175 °C singly; above it its fractions start at 180.
GAS_COMPONENT_LIMIT = 175
GAS_FIRST_HEAVY_FRACTION = 180

COMPS_HEADER = [
    "", "Компонент", "Имя компонента",
    "Группа (газ)", "ЧАУ (газ)", "Т кип, °С (газ)", "ММ, г/моль (газ)", "Плотность, г/см3", "К-ПИД (газ)",
    "К-ДТП", "Атест. знач, газ, масс%",
    "Группа (ж)", "ЧАУ (ж)", "Т кип, °С (ж)", "ММ, г/моль (ж)", "К-ПИД (ж)", "Атест. знач, ж, масс%",
]
NORMS_HEADER = [
    "Компонент", "Диапазон, массовая доля %", "Показатель повторяемости, %",
    "Показатель воспроизводимости, %", "Показатель внутрилабораторной прецизионности, %",
    "Показатель точности, %", "Предел повторяемости r, %", "Предел воспроизводимости R, %",
]
TIMES_HEADER = ["Компонент", "Время выхода (газ), мин", "Время выхода (ДК), мин"]


def read_table(name):
    """Rows of a TAB-separated UTF-8 source table, without notes and blank lines."""
    rows = []
    for line in (SOURCE / name).read_text(encoding="utf-8").splitlines():
        if line.strip() and not line.startswith("#"):
            rows.append(line.split("\t"))
    return rows


def cell(row, index):
    return row[index].strip() if index < len(row) else ""


def molar_mass(formula):
    total = 0.0
    for element, count in re.findall(r"([A-Z][a-z]?)(\d*)", formula):
        total += ATOMIC_WEIGHT[element] * (int(count) if count else 1)
    return round(total, 3)


def carbon_atoms(formula):
    """Carbon atoms of a hydrocarbon; 0 for anything else (CO2 included), as the gas calculation reads
    carbon number 0 as "not a hydrocarbon"."""
    elements = dict(re.findall(r"([A-Z][a-z]?)(\d*)", formula))
    if set(elements) != {"C", "H"}:
        return 0
    return int(elements["C"] or 1)


def fraction_name(low, high):
    return "F%d-%d" % (low, high)


def fraction_of(bp):
    """The boiling fraction a component belongs to by its boiling point."""
    if bp < 60:
        return fraction_name(45, 60)
    low = 10 * math.floor(bp / 10)
    return fraction_name(low, low + 10)


def number(value):
    """A number as the program writes it: "%f"; None is an empty cell."""
    return "" if value is None else "%f" % value


def interpolate(points, x):
    """Linear interpolation on (x, y) points sorted by x, extrapolating past either end."""
    if x <= points[0][0]:
        (x0, y0), (x1, y1) = points[0], points[1]
    elif x >= points[-1][0]:
        (x0, y0), (x1, y1) = points[-2], points[-1]
    else:
        i = next(k for k in range(1, len(points)) if points[k][0] >= x)
        (x0, y0), (x1, y1) = points[i - 1], points[i]
    return y0 + (y1 - y0) * (x - x0) / (x1 - x0)


def density_20(sg60):
    """Density at 20 °C, g/cm3, from the relative density 60/60 °F with the thermal expansion of
    petroleum liquids (K0 = 613.9723 for crude oils)."""
    rho = sg60 * 999.04  # kg/m3 at 60 °F
    alpha = 613.9723 / rho ** 2
    dt = 20.0 - 15.5556
    return rho * math.exp(-alpha * dt * (1 + 0.8 * alpha * dt)) / 1000.0


def component_rows():
    rows = []
    for src in read_table("components.tsv"):
        key, formula = cell(src, 0), cell(src, 1)
        bp = float(cell(src, 2))
        rho = float(cell(src, 3)) if cell(src, 3) else None
        rmr = float(cell(src, 4)) if cell(src, 4) else None
        cert_gas = float(cell(src, 5)) if cell(src, 5) else None
        cert_liquid = float(cell(src, 6)) if cell(src, 6) else None
        mm = molar_mass(formula)
        nc = carbon_atoms(formula)
        fid = mm / nc if nc > 0 else None  # the FID counts carbon atoms
        tcd = round(mm / rmr, 4) if rmr else None
        gas_group = ""
        heavy_ok = GAS_FIRST_HEAVY_FRACTION <= bp < GAS_FRACTION_END
        if nc > 0 and (45 < bp < GAS_COMPONENT_LIMIT or heavy_ok):
            gas_group = "%s, %s" % (key, fraction_of(bp))
        liquid_group = fraction_of(bp) if nc > 0 and 45 < bp < FRACTION_BOUNDS[-1][1] else ""
        rows.append({
            "key": key, "bp": bp, "nc": nc, "normal_paraffin": key.startswith("н-"),
            "cells": ["", key, key,
                      gas_group, number(nc), number(bp), number(mm), number(rho), number(fid), number(tcd),
                      number(cert_gas),
                      liquid_group, number(nc), number(bp), number(mm), number(fid), number(cert_liquid)],
        })
    return rows


def fraction_rows():
    scn = read_table("single_carbon_numbers.tsv")
    by_tb = [(float(r[1]) - 273.15, r) for r in scn]
    carbon = [(t, float(r[0])) for t, r in by_tb]
    sg = [(t, float(r[2])) for t, r in by_tb]
    mass = [(t, float(r[3])) for t, r in by_tb]
    rows = []
    for low, high in FRACTION_BOUNDS:
        name = fraction_name(low, high)
        tb = (low + high) / 2.0
        nc = round(interpolate(carbon, tb), 2)
        mm = round(interpolate(mass, tb), 2)
        rho = round(density_20(interpolate(sg, tb)), 4)
        fid = mm / nc
        rows.append({
            "key": name, "bp": tb, "nc": nc, "normal_paraffin": False, "fraction": True,
            "cells": ["", name, name,
                      "", number(nc), number(tb), number(mm), number(rho), number(fid), "", "",
                      "", number(nc), number(tb), number(mm), number(fid), ""],
        })
    return rows


def norm_rows(components, ranges, wanted):
    rows = []
    for comp in components:
        if not wanted(comp):
            continue
        for i, (low, high, delta, r, big_r) in enumerate(ranges):
            sigma_r, sigma_big_r = r / 2.77, big_r / 2.77
            rows.append([comp["key"] if i == 0 else "", "от %g до %g" % (low, high),
                         "%.2f" % sigma_r, "%.2f" % sigma_big_r, "%.2f" % (0.84 * sigma_big_r),
                         "%g" % delta, "%g" % r, "%g" % big_r])
    return rows


def time_rows():
    rows = []
    for src in read_table("retention_times.tsv"):
        times = ["%.4f" % float(cell(src, i)) if cell(src, i) else "" for i in (1, 2)]
        rows.append([cell(src, 0)] + times)
    return rows


def write_csv(path, rows):
    data = bytearray()
    for row in rows:
        for c in row:
            if ";" in c or "\r\n" in c:
                raise ValueError("%s: the cell %r cannot be stored" % (path.name, c))
        data += (";".join(row) + "\r\n").encode("cp1251")  # strict: fails on a character cp1251 lacks
    path.write_bytes(bytes(data))


def main():
    out = Path(sys.argv[1]) if len(sys.argv) > 1 else SOURCE.parent
    out.mkdir(parents=True, exist_ok=True)

    components = component_rows() + fraction_rows()
    keys = [c["key"].lower() for c in components]
    if len(set(keys)) != len(keys):
        raise ValueError("duplicate component names")
    write_csv(out / "Comps.csv", [COMPS_HEADER] + [c["cells"] for c in components])

    ranges = {"gas": [], "liquid": []}
    for r in read_table("norm_ranges.tsv"):
        ranges[r[0]].append(tuple(float(x) for x in r[1:6]))

    def gas_norms(c):
        if c.get("fraction"):
            return c["bp"] < GAS_FRACTION_END
        return c["nc"] == 0 or c["bp"] < GAS_COMPONENT_LIMIT

    def liquid_norms(c):
        if c.get("fraction"):
            return True
        return c["nc"] > 0 and (c["bp"] < 45 or (c["normal_paraffin"] and c["nc"] >= 6))

    write_csv(out / "TableSection7.csv", [NORMS_HEADER] + norm_rows(components, ranges["gas"], gas_norms))
    write_csv(out / "TableSection8.csv", [NORMS_HEADER] + norm_rows(components, ranges["liquid"], liquid_norms))
    write_csv(out / "CompsTime.csv", [TIMES_HEADER] + time_rows())


if __name__ == "__main__":
    main()

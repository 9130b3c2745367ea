#!/usr/bin/python3
"""Writes a collection of an earlier program version with Python's dbf package.

    make_old_collection.py v2|v1|v2-22|v2-misnamed PATH RECORDS_JSON

RECORDS_JSON is a list of objects keyed by field name; missing fields stay empty.
"""
import json
import sys

import dbf

V2 = ("ID N(6,0); Catalog C(20); Descriptio C(80); Country C(80); FaceValue N(12,2); "
      "MarketValu N(12,2); Quantity N(6,0); Year C(4); Comments C(80); Condition C(20); "
      "Group C(20); StampType C(20); Cancellati C(20); Topic C(20); Date D; Cost N(12,2); "
      "Gum C(20); Color C(20); Faults C(80); Hinged C(20); Miscellane C(80)")
V1 = ("ID N(6,0); Catalog C(20); Descriptio C(80); Country C(80); FaceValue N(12,2); "
      "MarketValu N(12,2); Quantity N(6,0); Year C(4); Comments C(80); Condition C(20); "
      "Group C(20); StampType C(20); Cancellati C(20); OverPrint C(3); PreCancel C(3); "
      "Surcharge C(3); FirstDayCo C(3); SouvenirCa C(3); PenCancell C(3); PostalCard C(3); "
      "Topic C(20); PurchDay C(4); PurchMonth C(4); PurchYear C(4)")
LAYOUTS = {
    "v2": V2,
    "v1": V1,
    "v2-22": V2 + "; Extra C(5)",
    "v2-misnamed": V2.replace("Descriptio", "Descript"),
}

layout, path, records = sys.argv[1], sys.argv[2], json.loads(sys.argv[3])
table = dbf.Table(path, LAYOUTS[layout], dbf_type="db3", codepage="cp1252")
table.open(dbf.READ_WRITE)
names = [n.lower() for n in table.field_names]
for record in records:
    values = {k.lower(): v for k, v in record.items()}
    for key in ("date",):
        if key in values and isinstance(values[key], str):
            y, m, d = values[key].split("-")
            values[key] = dbf.Date(int(y), int(m), int(d))
    table.append({k: v for k, v in values.items() if k in names})
table.close()

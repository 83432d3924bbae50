#!/usr/bin/python3
# Writes a drawing of N entities with an independent writer (ezdxf), for the DXF load benchmark:
# lines, circles, arcs, closed four-point polylines and texts in turn, on ten layers.
# Usage: /usr/bin/python3 make_mixed_dxf.py N OUT.dxf
import sys

import ezdxf

n, out = int(sys.argv[1]), sys.argv[2]
doc = ezdxf.new("R2000")
for k in range(10):
    doc.layers.add("L%d" % k, color=k + 1)
msp = doc.modelspace()
for i in range(n):
    x, y = (i % 1000) * 2.0, (i // 1000) * 2.0
    attribs = {"layer": "L%d" % (i % 10)}
    kind = i % 5
    if kind == 0:
        msp.add_line((x, y), (x + 1.5, y + 1), dxfattribs=attribs)
    elif kind == 1:
        msp.add_circle((x + 0.5, y + 0.5), 0.4, dxfattribs=attribs)
    elif kind == 2:
        msp.add_arc((x + 0.5, y + 0.5), 0.4, 30, 200, dxfattribs=attribs)
    elif kind == 3:
        msp.add_lwpolyline([(x, y), (x + 1, y), (x + 1, y + 1), (x, y + 1)], close=True, dxfattribs=attribs)
    else:
        attribs["height"] = 0.3
        msp.add_text("W%d" % i, dxfattribs=attribs).set_placement((x, y))
doc.saveas(out)

#!/usr/bin/python3
# Writes the selection benchmark's drawing with an independent writer (ezdxf): N entities on a
# square grid, one per unit cell, in turn a line, an arc and a reference to a small block.
# Usage: /usr/bin/python3 make_grid_dxf.py N OUT.dxf
import math
import sys

import ezdxf

n, out = int(sys.argv[1]), sys.argv[2]
doc = ezdxf.new("R2000")
mark = doc.blocks.new("MARK")
mark.add_line((0, 0), (0.4, 0))
mark.add_line((0, 0), (0, 0.4))
msp = doc.modelspace()
side = math.ceil(math.sqrt(n))
for i in range(n):
    x, y = i % side, i // side
    if i % 3 == 0:
        msp.add_line((x, y), (x + 0.5, y + 0.5))
    elif i % 3 == 1:
        msp.add_arc((x + 0.5, y + 0.5), 0.25, math.degrees(0.5), math.degrees(2.5))
    else:
        msp.add_blockref("MARK", (x + 0.2, y + 0.2), dxfattribs={"rotation": math.degrees(0.3)})
doc.saveas(out)

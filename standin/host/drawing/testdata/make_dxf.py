#!/usr/bin/python3
# Writes the DXF test drawings of the stand-in host with an independent writer (ezdxf), and
# beside each drawing the data every object must arrive with, as ezdxf itself sees it:
#   LAYER name color locked off frozen linetype
#   ENTITY handle type code=value ...        (points x,y,z; angles in radians)
#   VERTICES handle x,y,bulge x,y,bulge ...  (LWPOLYLINE, POLYLINE)
#   ORDER handle handle ...                  (the drawing's walk, sub-entities included)
# Run with Debian's python3 and its python3-ezdxf: /usr/bin/python3 make_dxf.py
import math
import os

import ezdxf

HERE = os.path.dirname(os.path.abspath(__file__))


def build(doc, r12):
    doc.layers.add("WALL", color=1).lock()
    doc.layers.add("DOOR", color=3)
    furniture = doc.layers.add("FURNITURE", color=5)
    furniture.off()
    doc.layers.add("FROZEN", color=6).freeze()
    doc.layers.add("TEXT", color=2)

    door = doc.blocks.new("DOOR", base_point=(0, 0))
    door.add_line((0, 0), (0, 90), dxfattribs={"layer": "0"})
    door.add_arc((0, 0), 90, 0, 90, dxfattribs={"layer": "0"})
    door.add_attdef("NO", (5, 10), dxfattribs={"prompt": "Door number", "height": 10, "layer": "0"}).dxf.text = "D?"
    width = door.add_attdef("WIDTH", (5, -15), dxfattribs={"prompt": "Door width", "height": 8, "layer": "0"})
    width.dxf.text = "900"
    width.dxf.flags = 1

    window = doc.blocks.new("WINDOW", base_point=(10, 0))
    window.add_line((0, 0), (120, 0))
    window.add_line((0, 10), (120, 10))
    window.add_blockref("SILL", (0, -5))
    sill = doc.blocks.new("SILL")
    sill.add_line((0, 0), (120, 0), dxfattribs={"color": 8})

    msp = doc.modelspace()
    for a, b in [((0, 0), (300, 0)), ((390, 0), (800, 0)), ((800, 0), (800, 500)), ((800, 500), (0, 500)),
                 ((0, 500), (0, 0)), ((450, 0), (450, 200)), ((450, 290), (450, 500))]:
        msp.add_line(a + (0,), b + (0,), dxfattribs={"layer": "WALL"})
    d1 = msp.add_blockref("DOOR", (300, 0), dxfattribs={"layer": "DOOR"})
    d1.add_attrib("NO", "D1", (305, 10), dxfattribs={"height": 10, "layer": "DOOR"})
    d1.add_attrib("WIDTH", "900", (305, -15), dxfattribs={"height": 8, "layer": "DOOR", "flags": 1})
    d2 = msp.add_blockref("DOOR", (450, 200), dxfattribs={"layer": "DOOR", "rotation": 90, "xscale": 1.0,
                                                         "yscale": -1.0})
    d2.add_attrib("NO", "D2", (440, 205), dxfattribs={"height": 10, "layer": "DOOR", "rotation": 90})
    msp.add_blockref("WINDOW", (500, 500), dxfattribs={"layer": "WALL", "color": 4})
    msp.add_text("LIVING", dxfattribs={"layer": "TEXT", "height": 20, "insert": (100, 250, 0),
                                      "rotation": 15, "style": "Standard"})
    centred = msp.add_text("HALL", dxfattribs={"layer": "TEXT", "height": 12, "halign": 1,
                                              "insert": (600, 100, 0), "align_point": (600, 100, 0)})
    msp.add_circle((200, 400), 40, dxfattribs={"layer": "FURNITURE"})
    msp.add_arc((650, 350), 60, 30, 200, dxfattribs={"layer": "FROZEN", "linetype": "DASHED"})
    msp.add_point((10, 10, 5), dxfattribs={"layer": "0", "color": 1})
    points = [(500, 380, 0, 0, 0), (620, 380, 0, 0, 1.0), (620, 440, 0, 0, 0), (500, 440, 0, 0, -0.5)]
    if r12:
        poly = msp.add_polyline2d([(x, y) for x, y, *_ in points], dxfattribs={"layer": "FURNITURE"})
        for v, (_, _, _, _, bulge) in zip(poly.vertices, points):
            v.dxf.bulge = bulge
        poly.close(True)
    else:
        msp.add_lwpolyline(points, format="xyseb", dxfattribs={"layer": "FURNITURE", "closed": True})
        msp.add_mtext("not read here", dxfattribs={"layer": "TEXT"})
    doc.layout("Layout1").add_text("SHEET", dxfattribs={"height": 5, "insert": (10, 10, 0)})
    return centred


def fmt(v):
    return repr(float(v))


def pt(p):
    return ",".join(fmt(c) for c in (tuple(p) + (0.0, 0.0, 0.0))[:3])


def expected(doc, path):
    lines = []
    for layer in doc.layers:
        color = layer.dxf.color
        lines.append("LAYER %s %d %d %d %d %s" % (layer.dxf.name, abs(color), int(layer.is_locked()),
                                                  int(color < 0), int(layer.is_frozen()), layer.dxf.linetype))
    order = []
    spaces = [doc.modelspace(), doc.layout("Layout1")]
    for space in spaces:
        for e in space:
            kind = e.dxftype()
            order.append(e.dxf.handle)
            fields = ["8=" + e.dxf.layer]
            if e.dxf.hasattr("color") and e.dxf.color != 256:
                fields.append("62=%d" % e.dxf.color)
            if e.dxf.hasattr("linetype") and e.dxf.linetype.upper() != "BYLAYER":
                fields.append("6=" + e.dxf.linetype)
            fields.append("67=%d" % (1 if space is spaces[1] else 0))
            if kind == "LINE":
                fields += ["10=" + pt(e.dxf.start), "11=" + pt(e.dxf.end)]
            elif kind in ("CIRCLE", "ARC"):
                fields += ["10=" + pt(e.dxf.center), "40=" + fmt(e.dxf.radius)]
                if kind == "ARC":
                    fields += ["50=" + fmt(math.radians(e.dxf.start_angle)),
                               "51=" + fmt(math.radians(e.dxf.end_angle))]
            elif kind == "POINT":
                fields += ["10=" + pt(e.dxf.location)]
            elif kind == "TEXT":
                fields += ["10=" + pt(e.dxf.insert), "40=" + fmt(e.dxf.height), "1=" + e.dxf.text,
                           "50=" + fmt(math.radians(e.dxf.rotation)), "72=%d" % e.dxf.halign]
                if e.dxf.halign:
                    fields.append("11=" + pt(e.dxf.align_point))
            elif kind == "MTEXT":
                fields += ["10=" + pt(e.dxf.insert), "40=" + fmt(e.dxf.char_height), "71=%d" % e.dxf.attachment_point]
            elif kind == "INSERT":
                fields += ["2=" + e.dxf.name, "10=" + pt(e.dxf.insert), "41=" + fmt(e.dxf.xscale),
                           "42=" + fmt(e.dxf.yscale), "50=" + fmt(math.radians(e.dxf.rotation))]
            elif kind in ("LWPOLYLINE", "POLYLINE"):
                fields.append("70=%d" % (1 if e.is_closed else 0))
            lines.append("ENTITY %s %s %s" % (e.dxf.handle, kind, " ".join(fields)))
            if kind == "INSERT":
                for a in e.attribs:
                    order.append(a.dxf.handle)
                    lines.append("ENTITY %s ATTRIB 8=%s 2=%s 1=%s 10=%s 40=%s 70=%d" % (
                        a.dxf.handle, a.dxf.layer, a.dxf.tag, a.dxf.text, pt(a.dxf.insert), fmt(a.dxf.height),
                        a.dxf.flags))
                if e.attribs:
                    order.append(e.seqend.dxf.handle)
            if kind == "LWPOLYLINE":
                verts = ["%s,%s,%s" % (fmt(x), fmt(y), fmt(b)) for x, y, b in e.get_points("xyb")]
                lines.append("VERTICES %s %s" % (e.dxf.handle, " ".join(verts)))
            if kind == "POLYLINE":
                verts = ["%s,%s,%s" % (fmt(v.dxf.location[0]), fmt(v.dxf.location[1]), fmt(v.dxf.bulge))
                         for v in e.vertices]
                lines.append("VERTICES %s %s" % (e.dxf.handle, " ".join(verts)))
                order += [v.dxf.handle for v in e.vertices] + [e.seqend.dxf.handle]
    lines.append("ORDER " + " ".join(order))
    with open(path, "w", encoding="utf-8") as f:
        f.write("\n".join(lines) + "\n")


for version, name in [("R12", "plan_r12"), ("R2000", "plan_r2000")]:
    doc = ezdxf.new(version, setup=["linetypes"])
    build(doc, version == "R12")
    doc.saveas(os.path.join(HERE, name + ".dxf"))
    expected(ezdxf.readfile(os.path.join(HERE, name + ".dxf")), os.path.join(HERE, name + ".expected"))

// Just enough of the host's DXF input, behaving as the host's does, for the session to open
// drawings written by other programs: ASCII DXF of release 12 and later and binary DXF, with the
// header variables the session uses, the LAYER and LTYPE tables, block definitions and the
// entities POINT, LINE, CIRCLE, ARC, TEXT, MTEXT, LWPOLYLINE, POLYLINE (2D and 3D), INSERT with
// ATTRIB, ATTDEF, ELLIPSE, SPLINE, HATCH, DIMENSION, SOLID, TRACE, 3DFACE, RAY, XLINE and LEADER.
#pragma once

#include <dbmain.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace standin {

// Reads a whole DXF file held in memory. A file whose structure cannot be followed gives NULL and
// error holds "NAME:LINE: what is wrong" (NAME as given); nothing of it is kept. An entity, table
// entry or block that cannot be kept is left out, and a value the host tolerates corrected, each
// with a note in notes ("NAME:LINE: what was done"). Entities of other types are left out, and
// skipped lists them ("12 MTEXT").
std::unique_ptr<AcDbDatabase> ReadDxf(std::string_view bytes, const std::wstring& name, std::wstring& error,
                                      std::vector<std::wstring>* skipped = nullptr,
                                      std::vector<std::wstring>* notes = nullptr);
// Reads the file at path (at most 256 MiB); the notes and the skipped entity types are reported
// on standard error.
std::unique_ptr<AcDbDatabase> ReadDxfFile(const std::wstring& path, std::wstring& error);

}  // namespace standin

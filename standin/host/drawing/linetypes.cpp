// The host's standard linetype library, and loading its linetypes into a drawing.
#include <acutads.h>
#include <dbsymtb.h>

#include <algorithm>
#include <iterator>
#include <string>

#include "standin/host/core/text.h"
#include "standin/host/drawing/dbaccess.h"

namespace {

struct LibraryLinetype {
  const wchar_t* name;
  const wchar_t* comments;
  double patternLength;  // inches: dashes and gaps of one repeat
};

// The simple linetypes of the host's standard library; "acadiso.lin" holds them 25.4 times longer.
constexpr LibraryLinetype kLibrary[] = {
    {L"BORDER", L"Border __ __ . __ __ . __ __ .", 1.75}, {L"CENTER", L"Center ____ _ ____ _ ____ _", 2.0},
    {L"DASHDOT", L"Dash dot __ . __ . __ . __", 1.0},     {L"DASHED", L"Dashed __ __ __ __ __ __", 0.75},
    {L"DIVIDE", L"Divide ____ . . ____ . .", 1.25},       {L"DOT", L"Dot . . . . . . . . . . .", 0.25},
    {L"HIDDEN", L"Hidden __ __ __ __ __ __", 0.375},      {L"PHANTOM", L"Phantom ______  __  __  ______", 2.5},
};

// The scale of the named library file's lengths over inches, or 0 for a file the host lacks.
double LibraryScale(const std::wstring& filename) {
  const size_t slash = filename.find_last_of(L"/\\");
  const std::wstring base = standin::Upper(slash == std::wstring::npos ? filename : filename.substr(slash + 1));
  if (base == L"ACAD.LIN") return 1;
  if (base == L"ACADISO.LIN") return 25.4;
  return 0;
}

}  // namespace

Acad::ErrorStatus AcDbDatabase::loadLineTypeFile(const ACHAR* ltn, const ACHAR* filename) {
  if (!ltn || !*ltn || !filename || !*filename) return Acad::eInvalidInput;
  const double scale = LibraryScale(filename);
  if (scale == 0) return Acad::eFileNotFound;
  auto named = [ltn](const LibraryLinetype& entry) { return acutWcMatchEx(entry.name, ltn, true) == RTNORM; };
  if (std::none_of(std::begin(kLibrary), std::end(kLibrary), named)) return Acad::eUndefinedLineType;
  std::lock_guard<std::recursive_mutex> lock(standin::DrawingMutex());
  AcDbLinetypeTable* table = nullptr;
  const Acad::ErrorStatus opened = getLinetypeTable(table, AcDb::kForWrite);
  if (opened != Acad::eOk) return opened;
  bool added = false;
  Acad::ErrorStatus es = Acad::eOk;
  for (const LibraryLinetype& entry : kLibrary) {
    if (!named(entry) || table->has(entry.name)) continue;
    auto* rec = new AcDbLinetypeTableRecord;
    rec->setName(entry.name);
    rec->setComments(entry.comments);
    rec->setPatternLength(entry.patternLength * scale);
    es = table->add(rec);
    if (es != Acad::eOk) {
      delete rec;
      break;
    }
    rec->close();
    added = true;
  }
  table->close();
  if (es != Acad::eOk) return es;
  return added ? Acad::eOk : Acad::eDuplicateRecordName;
}

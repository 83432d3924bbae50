// Layer 2 of the stand-in host, over the core: the drawing's data. System variables and AutoLISP
// symbols, the database with its objects, symbol tables, dictionaries, groups and entities
// (with the outlines the view draws), the ADS entity functions, DXF files and the sample drawing.
//
// The drawing the simulated session holds, and the ways to open one: the built-in sample (a
// small floor plan), a DXF file, or a drawing built by code in a test.
#pragma once

#include <adsdef.h>
#include <dbents.h>

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace standin {

// Makes db the session's drawing (its header variables become the session's system
// variables); the old drawing is closed with every selection set and the pickfirst set.
void OpenDrawing(std::unique_ptr<AcDbDatabase> db);
// With true, the host's application services report no working database, as between documents;
// the drawing stays for the stand-in's own use. A session reset gives the drawing back.
void SetNoWorkingDatabase(bool none);
// A drawing with the standard contents only, to build on by code.
void OpenEmptyDrawing();
// The built-in sample, which the session holds from the start and after Reset().
void OpenSampleDrawing();
std::unique_ptr<AcDbDatabase> BuildSampleDrawing();
// Reads a DXF file (ASCII or binary) and opens it. On failure nothing changes and error holds
// "FILE:LINE: what is wrong".
bool OpenDxfDrawing(const std::wstring& path, std::wstring& error);

// --- Building a drawing by code; every object added is closed again ---

AcDbObjectId AddLayer(AcDbDatabase* db, const wchar_t* name, int color = 7, bool locked = false, bool off = false,
                      bool frozen = false);
// Appends the entity to model space (or paper space) on the named layer (the current layer
// when NULL). The null id when the drawing refuses it (the entity is then deleted).
AcDbObjectId AddEntity(AcDbDatabase* db, AcDbEntity* entity, const wchar_t* layer = nullptr, bool paperSpace = false);
// A block definition holding the entities (attribute definitions included), based at origin.
AcDbObjectId AddBlock(AcDbDatabase* db, const wchar_t* name, const std::vector<AcDbEntity*>& entities,
                      const AcGePoint3d& origin = AcGePoint3d::kOrigin);
// A reference to the named block with one attribute per attribute definition, valued from
// values (tag, value) or by the definition's default.
AcDbObjectId AddBlockReference(AcDbDatabase* db, const wchar_t* block, const AcGePoint3d& position, double rotation,
                               const std::vector<std::pair<std::wstring, std::wstring>>& values = {},
                               const wchar_t* layer = nullptr);

// --- Looking at the session's drawing ---

// The entity name of the object with that handle (hexadecimal); false when there is none.
bool EntityByHandle(const wchar_t* handle, ads_name name);
// The handle of a named entity, or "" when the name names nothing.
std::wstring HandleOf(const ads_name name);
// How many objects of the session's drawing are open now (0 after a well-behaved command).
int OpenObjectCount();
// Database objects alive outside every drawing: what a caller created and has not yet added or
// deleted (tests compare it before and after a call to see that nothing was leaked).
long FreeObjectCount();
// The objects open now, one per line: class, handle and how they are open ("" when none).
std::wstring OpenObjectsReport();
// At the end of a command (or of any operation a test names): objects still open are reported
// in the journal (LeftOpen) and on standard error, and the count is returned. Chosen:
// the host itself gives no message and keeps them open; they stay open here too.
int ReportObjectsLeftOpen(std::wstring_view operation);

}  // namespace standin

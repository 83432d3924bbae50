// The container instantiations the module compiles once for the whole family. Here they are
// declared (extern template), so that no user and no other file of the module compiles their
// members again; Exported.cpp defines them by including this file with the definition keyword.
// The umbrella header includes it: it needs every element type's header, which the container
// templates themselves must not pull in.
#pragma once

#include "containers/Array.h"
#include "containers/DynArray.h"
#include "containers/DynPArray.h"
#include "containers/List.h"
#include "containers/OwningList.h"
#include "containers/XList.h"
#include "image/ImageRecord.h"
#include "platform/Export.h"
#include "platform/Host.h"
#include "platform/Siblings.h"

#ifndef TOVU_CONTAINERS_INSTANTIATION
#define TOVU_CONTAINERS_INSTANTIATION extern template
#endif

// Exported: the whole member set and the type record, for every module of the family.
#define ZO_EXPORTED(...) TOVU_CONTAINERS_INSTANTIATION class TOVU_PLATFORM_API __VA_ARGS__;
// Internal: compiled once inside the module, not exported; users compile their own.
#if defined(TOVUPLATFORM_EXPORTS)
#define ZO_INTERNAL(...) TOVU_CONTAINERS_INSTANTIATION class __VA_ARGS__;
#else
#define ZO_INTERNAL(...)
#endif

// Every group lists bases before the classes built on them: a class instantiated before its
// declaration here could no longer take the export attribute.
#define ZO_DYNARRAY_OF(API, T) API(ZoDynArrayBase<T>) API(ZoDynArray<T>)
#define ZO_LISTS_OF(API, T) API(ZoListNode<T>) API(ZoList<T>) API(ZoDListNode<T>) API(ZoDList<T>)
#define ZO_GRID_OF(API, T) API(ZoArray<T>) API(ZoArray<ZoArray<T>>) API(Zo2dArray<T>)
#define ZO_POINTER_LISTS_OF(API, X) API(ZoDynArrayBase<X*>) ZO_LISTS_OF(API, X*)
#define ZO_PDLIST_OF(API, X)                              \
  API(zo_detail::Owning<ZoPDList<X>, X, ZoDList<X*>>)     \
  API(zo_detail::OwningList<ZoPDList<X>, X, ZoDList<X*>>) \
  API(ZoPDList<X>)
#define ZO_DYNPARRAY_OF(API, X) API(zo_detail::Owning<ZoDynPArray<X>, X, ZoDynArray<X*>>) API(ZoDynPArray<X>)
// The indexed lists of X*, with the arrays of their group index, and the owning one.
#define ZO_XLISTS_OF(API, X)                              \
  ZO_DYNARRAY_OF(API, ZoListNode<X*>*)                    \
  API(ZoXList<X*>)                                        \
  API(zo_detail::Owning<ZoPXList<X>, X, ZoXList<X*>>)     \
  API(zo_detail::OwningList<ZoPXList<X>, X, ZoXList<X*>>) \
  API(ZoPXList<X>)

ZO_DYNARRAY_OF(ZO_EXPORTED, char)
ZO_DYNARRAY_OF(ZO_EXPORTED, double)
ZO_EXPORTED(ZoDynArrayBase<int>)
ZO_EXPORTED(ZoListNode<int>)
ZO_EXPORTED(ZoList<int>)

ZO_DYNARRAY_OF(ZO_EXPORTED, ZoGePoint)
ZO_LISTS_OF(ZO_EXPORTED, ZoGePoint)
ZO_DYNARRAY_OF(ZO_EXPORTED, ZoGeExtent)
ZO_DYNARRAY_OF(ZO_EXPORTED, ZoGeGridLineBJ)
ZO_EXPORTED(ZoDynArrayBase<ZoGeGridNodeBJ>)
ZO_LISTS_OF(ZO_EXPORTED, ZoGeGridNodeBJ)
ZO_GRID_OF(ZO_EXPORTED, ZoGeGridNodeBJ)
ZO_GRID_OF(ZO_EXPORTED, ZoGeGridCellBJ)

ZO_DYNARRAY_OF(ZO_EXPORTED, ZoGeGridSegBJ*)
ZO_DYNPARRAY_OF(ZO_EXPORTED, ZoGeGridSegBJ)
ZO_LISTS_OF(ZO_INTERNAL, ZoGeGridSegBJ*)
ZO_PDLIST_OF(ZO_INTERNAL, ZoGeGridSegBJ)
ZO_DYNARRAY_OF(ZO_EXPORTED, ZoDbGrip*)
ZO_DYNPARRAY_OF(ZO_EXPORTED, ZoDbGrip)
ZO_DYNARRAY_OF(ZO_EXPORTED, ZoDbGripDim*)
ZO_DYNPARRAY_OF(ZO_EXPORTED, ZoDbGripDim)
ZO_DYNARRAY_OF(ZO_EXPORTED, ZoDynArrayStream*)
ZO_DYNPARRAY_OF(ZO_EXPORTED, ZoDynArrayStream)

ZO_EXPORTED(ZoDynArrayBase<ZoGePtQuadTree2d*>)
ZO_EXPORTED(ZoListNode<ZoGePtQuadTree2d*>)
ZO_EXPORTED(ZoList<ZoGePtQuadTree2d*>)

ZO_POINTER_LISTS_OF(ZO_EXPORTED, ZoGeFace)
ZO_PDLIST_OF(ZO_EXPORTED, ZoGeFace)
ZO_POINTER_LISTS_OF(ZO_EXPORTED, ZoGiObject)
ZO_PDLIST_OF(ZO_EXPORTED, ZoGiObject)
ZO_POINTER_LISTS_OF(ZO_EXPORTED, ZoGeMLine2d)
ZO_PDLIST_OF(ZO_EXPORTED, ZoGeMLine2d)
ZO_POINTER_LISTS_OF(ZO_EXPORTED, ZoGeCurveMeshEdge)
ZO_PDLIST_OF(ZO_EXPORTED, ZoGeCurveMeshEdge)
ZO_POINTER_LISTS_OF(ZO_EXPORTED, ZoGeCurveMeshEdge3d)
ZO_PDLIST_OF(ZO_EXPORTED, ZoGeCurveMeshEdge3d)
ZO_POINTER_LISTS_OF(ZO_EXPORTED, ZoGeCurveMeshCell)
ZO_PDLIST_OF(ZO_EXPORTED, ZoGeCurveMeshCell)
ZO_POINTER_LISTS_OF(ZO_EXPORTED, ZoGeCurveMeshCell3d)
ZO_PDLIST_OF(ZO_EXPORTED, ZoGeCurveMeshCell3d)
ZO_POINTER_LISTS_OF(ZO_EXPORTED, ZoDbReactorAndData)
ZO_PDLIST_OF(ZO_EXPORTED, ZoDbReactorAndData)
ZO_POINTER_LISTS_OF(ZO_EXPORTED, ZoDbWallGraphEdge)
ZO_PDLIST_OF(ZO_EXPORTED, ZoDbWallGraphEdge)
ZO_POINTER_LISTS_OF(ZO_EXPORTED, ZoDbWallGraphPath)
ZO_PDLIST_OF(ZO_EXPORTED, ZoDbWallGraphPath)

ZO_POINTER_LISTS_OF(ZO_EXPORTED, ZoGeCurveMeshNode)
ZO_XLISTS_OF(ZO_EXPORTED, ZoGeCurveMeshNode)
ZO_POINTER_LISTS_OF(ZO_EXPORTED, ZoGeCurveMeshNode3d)
ZO_XLISTS_OF(ZO_EXPORTED, ZoGeCurveMeshNode3d)
ZO_POINTER_LISTS_OF(ZO_EXPORTED, ZoGraphNode)
ZO_XLISTS_OF(ZO_EXPORTED, ZoGraphNode)
ZO_POINTER_LISTS_OF(ZO_EXPORTED, ZoDbWallGraphNode)
ZO_XLISTS_OF(ZO_EXPORTED, ZoDbWallGraphNode)
ZO_POINTER_LISTS_OF(ZO_EXPORTED, ZoGraphArc)
ZO_PDLIST_OF(ZO_EXPORTED, ZoGraphArc)
ZO_XLISTS_OF(ZO_EXPORTED, ZoGraphArc)

ZO_POINTER_LISTS_OF(ZO_INTERNAL, ZoDbBlockData)
ZO_PDLIST_OF(ZO_INTERNAL, ZoDbBlockData)
ZO_POINTER_LISTS_OF(ZO_INTERNAL, ZoDbWallGraphNodeEx)
ZO_PDLIST_OF(ZO_INTERNAL, ZoDbWallGraphNodeEx)
ZO_POINTER_LISTS_OF(ZO_INTERNAL, ZoPtImageHatch)
ZO_PDLIST_OF(ZO_INTERNAL, ZoPtImageHatch)
// The slide's lines are exported; their nodes stay the module's own.
ZO_EXPORTED(ZoDynArrayBase<ZoPtImageLine*>)
ZO_INTERNAL(ZoListNode<ZoPtImageLine*>)
ZO_EXPORTED(ZoList<ZoPtImageLine*>)
ZO_INTERNAL(ZoDListNode<ZoPtImageLine*>)
ZO_EXPORTED(ZoDList<ZoPtImageLine*>)
ZO_PDLIST_OF(ZO_EXPORTED, ZoPtImageLine)

ZO_INTERNAL(ZoDynArrayBase<AcDbObjectId>)
ZO_LISTS_OF(ZO_INTERNAL, AcDbObjectId)

#undef ZO_XLISTS_OF
#undef ZO_DYNPARRAY_OF
#undef ZO_PDLIST_OF
#undef ZO_POINTER_LISTS_OF
#undef ZO_GRID_OF
#undef ZO_LISTS_OF
#undef ZO_DYNARRAY_OF
#undef ZO_INTERNAL
#undef ZO_EXPORTED

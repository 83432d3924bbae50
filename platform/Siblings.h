// The module's only window on the family's sibling modules (base, geometry, database and user
// interface), included by the names of their SDK headers: a Windows build finds the siblings'
// own on its include path, this build the stand-ins'.
#pragma once

#include <ZoBitData.h>
#include <ZoCmdLine.h>
#include <ZoCommand.h>
#include <ZoDbBlockData.h>
#include <ZoDbGrip.h>
#include <ZoDbReactor.h>
#include <ZoDbUtil.h>
#include <ZoDbWallGraph.h>
#include <ZoDisplay.h>
#include <ZoDynArrayStream.h>
#include <ZoGeBaseLine2d.h>
#include <ZoGeCurve2d.h>
#include <ZoGeCurveMesh.h>
#include <ZoGeExtent.h>
#include <ZoGeFace.h>
#include <ZoGeGridBJ.h>
#include <ZoGeMLine2d.h>
#include <ZoGeMatrix.h>
#include <ZoGePoint.h>
#include <ZoGePoint2d.h>
#include <ZoGePolyline2d.h>
#include <ZoGePtQuadTree2d.h>
#include <ZoGiObject.h>
#include <ZoGraph.h>
#include <ZoKeywords.h>
#include <ZoLanguage.h>
#include <ZoPoints.h>
#include <ZoQueue.h>
#include <ZoString.h>

// The module's only window on the family's sibling modules (base, geometry, database and user
// interface), included by the names of their SDK headers: a Windows build finds the siblings'
// own on its include path, this build the stand-ins'.
#pragma once

#include <ZoBitData.h>
#include <ZoCmdLine.h>
#include <ZoCommand.h>
#include <ZoDbUtil.h>
#include <ZoDisplay.h>
#include <ZoGeCurve2d.h>
#include <ZoGeExtent.h>
#include <ZoGeMLine2d.h>
#include <ZoGePoint.h>
#include <ZoGePolyline2d.h>
#include <ZoKeywords.h>
#include <ZoLanguage.h>
#include <ZoPoints.h>
#include <ZoQueue.h>
#include <ZoString.h>

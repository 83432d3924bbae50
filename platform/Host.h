// The module's only window on the host's API (ObjectARX and ADS), included by the real names of
// its headers: a Windows build finds the host SDK's own on its include path, this build the
// stand-in host's.
#pragma once

#include <acarray.h>
#include <accmd.h>
#include <acdb.h>
#include <aced.h>
#include <acedads.h>
#include <acutads.h>
#include <adscodes.h>
#include <adsdef.h>
#include <dbapserv.h>
#include <dbcurve.h>
#include <dbdict.h>
#include <dbents.h>
#include <dbgroup.h>
#include <dbhatch.h>
#include <dbjig.h>
#include <dbmain.h>
#include <dbpl.h>
#include <dbregion.h>
#include <dbsymtb.h>
#include <gegbl.h>
#include <gemat3d.h>
#include <gepnt2d.h>
#include <gepnt3d.h>
#include <gescl3d.h>
#include <gevec3d.h>
#include <rxdlinkr.h>
#include <rxmfcapi.h>
#include <rxregsvc.h>

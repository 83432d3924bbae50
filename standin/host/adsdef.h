// Just enough of the host's ADS records and result codes, with the host's own names and
// values, for the module to exchange data with the stand-in host.
#pragma once

#include "standin/host/adesk.h"

typedef double ads_real;
typedef ads_real ads_point[3];
typedef Adesk::LongPtr ads_name[2];
typedef ads_real ads_matrix[4][4];
typedef ads_real* ads_pointp;
typedef Adesk::LongPtr* ads_namep;

enum { X = 0, Y = 1, Z = 2, T = 3 };

// Result types
#define RTNONE 5000
#define RTREAL 5001
#define RTPOINT 5002
#define RTSHORT 5003
#define RTANG 5004
#define RTSTR 5005
#define RTENAME 5006
#define RTPICKS 5007
#define RTORINT 5008
#define RT3DPOINT 5009
#define RTLONG 5010
#define RTVOID 5014
#define RTLB 5016
#define RTLE 5017
#define RTDOTE 5018
#define RTNIL 5019
#define RTDXF0 5020
#define RTT 5021
#define RTRESBUF 5023
#define RTMODELESS 5027
#define RTLONG_PTR 5030
#define RTINT64 5031

// Result codes
#define RTNORM 5100
#define RTERROR (-5001)
#define RTCAN (-5002)
#define RTREJ (-5003)
#define RTFAIL (-5004)
#define RTKWORD (-5005)
#define RTINPUTTRUNCATED (-5008)

struct ads_binary {
  short clen;
  char* buf;
};

union ads_u_val {
  ads_real rreal;
  ads_real rpoint[3];
  short rint;
  ACHAR* rstring;
  Adesk::LongPtr rlname[2];
  Adesk::Int32 rlong;
  Adesk::Int64 mnInt64;
  ads_binary rbinary;
  unsigned char ihandle[8];
};

struct resbuf {
  struct resbuf* rbnext;
  short restype;
  union ads_u_val resval;
};

// A new node with its type set, no successor and a zeroed value; NULL when memory runs out.
struct resbuf* acutNewRb(int v);
// Releases the whole chain from rb on, with the strings and binary chunks its nodes own
// (allocated with malloc or acutNewString). Returns RTNORM, or RTERROR for NULL.
int acutRelRb(struct resbuf* rb);
// Pairs of type and value, ended by 0 (RTNONE ends it too); the list types (RTLB, RTLE,
// RTDOTE, RTNIL, RTT, RTVOID, -3) take no value; RTDXF0 makes a node of group code 0. Strings
// are copied. NULL on an unknown type.
struct resbuf* acutBuildList(int rtype, ...);
// A malloc'ed copy of pInput in pOutput; RTNORM, or RTERROR for NULL input.
int acutNewString(const ACHAR* pInput, ACHAR*& pOutput);

namespace standin {
// How the host stores the value of a node of this type.
enum class RbValue { None, Real, Point, Short, Long, Int64, String, Name, Binary };
RbValue ResbufValueKind(int restype);
}  // namespace standin

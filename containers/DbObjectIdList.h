// The list of database object ids that the selection sets fill. Ids compare and order with the
// host's own object-id comparisons.
#pragma once

#include "containers/List.h"
#include "platform/Host.h"

class ZoDbObjectIdList : public ZoDList<AcDbObjectId> {
 public:
  ZoDbObjectIdList() = default;
  ZoDbObjectIdList(const ZoDbObjectIdList&) = default;
  ZoDbObjectIdList& operator=(const ZoDbObjectIdList&) = default;
  ~ZoDbObjectIdList() override {}
};

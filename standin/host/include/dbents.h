// Just enough of the host's entity classes, behaving as the host's do, for the module to read,
// create and transform the entities of a drawing: points, lines, circles, arcs, text, old-style
// polylines, block references with their attributes, attribute definitions.
#pragma once

#include <acdb.h>
#include <dbcurve.h>
#include <dbmain.h>
#include <gepnt3d.h>
#include <gescl3d.h>
#include <gevec3d.h>

#include <string>
#include <vector>

class AcDbPoint : public AcDbEntity {
 public:
  ACRX_DECLARE_MEMBERS(AcDbPoint);
  AcDbPoint() = default;
  explicit AcDbPoint(const AcGePoint3d& position) : m_position(position) {}
  AcGePoint3d position() const { return m_position; }
  Acad::ErrorStatus setPosition(const AcGePoint3d& pt);
  AcGeVector3d normal() const { return m_normal; }
  Acad::ErrorStatus setNormal(const AcGeVector3d& v);
  double thickness() const { return m_thickness; }
  Acad::ErrorStatus setThickness(double t);

  Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;

 protected:
  void dxfOutFields(standin::DxfOut& out) const override;

 private:
  friend struct standin::DbAccess;
  void standinShape(standin::Shape& shape) const override;
  AcGePoint3d m_position;
  AcGeVector3d m_normal{0, 0, 1};
  double m_thickness = 0;
};

class AcDbLine : public AcDbCurve {
 public:
  ACRX_DECLARE_MEMBERS(AcDbLine);
  AcDbLine() = default;
  AcDbLine(const AcGePoint3d& start, const AcGePoint3d& end) : m_start(start), m_end(end) {}
  AcGePoint3d startPoint() const { return m_start; }
  AcGePoint3d endPoint() const { return m_end; }
  Acad::ErrorStatus setStartPoint(const AcGePoint3d& pt);
  Acad::ErrorStatus setEndPoint(const AcGePoint3d& pt);
  AcGeVector3d normal() const { return m_normal; }
  Acad::ErrorStatus setNormal(const AcGeVector3d& v);
  double thickness() const { return m_thickness; }
  Acad::ErrorStatus setThickness(double t);

  Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;

 protected:
  void dxfOutFields(standin::DxfOut& out) const override;

 private:
  friend struct standin::DbAccess;
  void standinShape(standin::Shape& shape) const override;
  AcGePoint3d m_start, m_end;
  AcGeVector3d m_normal{0, 0, 1};
  double m_thickness = 0;
};

// A circle; its centre is in world coordinates, its plane given by the normal.
class AcDbCircle : public AcDbCurve {
 public:
  ACRX_DECLARE_MEMBERS(AcDbCircle);
  AcDbCircle() = default;
  AcDbCircle(const AcGePoint3d& center, const AcGeVector3d& normal, double radius)
      : m_center(center), m_normal(normal), m_radius(radius) {}
  AcGePoint3d center() const { return m_center; }
  Acad::ErrorStatus setCenter(const AcGePoint3d& pt);
  double radius() const { return m_radius; }
  // eInvalidInput for a radius that is not positive.
  Acad::ErrorStatus setRadius(double r);
  AcGeVector3d normal() const { return m_normal; }
  Acad::ErrorStatus setNormal(const AcGeVector3d& v);
  double thickness() const { return m_thickness; }
  Acad::ErrorStatus setThickness(double t);
  bool isClosed() const override { return true; }

  Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;

 protected:
  void dxfOutFields(standin::DxfOut& out) const override;
  // Start and end angle of the curve (a full turn for a circle), in the entity's plane.
  virtual void sweep(double& start, double& end) const;
  Acad::ErrorStatus transformCircle(const AcGeMatrix3d& xform, double* startAngle, double* endAngle);

  AcGePoint3d m_center;
  AcGeVector3d m_normal{0, 0, 1};
  double m_radius = 0;
  double m_thickness = 0;

 private:
  friend struct standin::DbAccess;
  void standinShape(standin::Shape& shape) const override;
};

// An arc, counter-clockwise from the start angle to the end angle (radians) about the normal.
class AcDbArc : public AcDbCircle {
 public:
  ACRX_DECLARE_MEMBERS(AcDbArc);
  AcDbArc() = default;
  AcDbArc(const AcGePoint3d& center, double radius, double startAngle, double endAngle)
      : AcDbCircle(center, AcGeVector3d::kZAxis, radius), m_startAngle(startAngle), m_endAngle(endAngle) {}
  AcDbArc(const AcGePoint3d& center, const AcGeVector3d& normal, double radius, double startAngle, double endAngle)
      : AcDbCircle(center, normal, radius), m_startAngle(startAngle), m_endAngle(endAngle) {}
  double startAngle() const { return m_startAngle; }
  double endAngle() const { return m_endAngle; }
  Acad::ErrorStatus setStartAngle(double a);
  Acad::ErrorStatus setEndAngle(double a);
  bool isClosed() const override { return false; }

  Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;

 protected:
  void dxfOutFields(standin::DxfOut& out) const override;
  void sweep(double& start, double& end) const override;

 private:
  double m_startAngle = 0, m_endAngle = 0;
};

// Single-line text; its points are world points in the plane of its normal.
class AcDbText : public AcDbEntity {
 public:
  ACRX_DECLARE_MEMBERS(AcDbText);
  AcDbText() = default;
  AcDbText(const AcGePoint3d& position, const ACHAR* text, AcDbObjectId style = AcDbObjectId::kNull, double height = 0,
           double rotation = 0);

  AcGePoint3d position() const { return m_position; }
  Acad::ErrorStatus setPosition(const AcGePoint3d& pt);
  AcGePoint3d alignmentPoint() const { return m_alignment; }
  Acad::ErrorStatus setAlignmentPoint(const AcGePoint3d& pt);
  // A malloc'ed copy the caller frees.
  ACHAR* textString() const;
  const ACHAR* textStringConst() const { return m_text.c_str(); }
  Acad::ErrorStatus setTextString(const ACHAR* text);
  double height() const { return m_height; }
  Acad::ErrorStatus setHeight(double h);
  double rotation() const { return m_rotation; }
  Acad::ErrorStatus setRotation(double r);
  double widthFactor() const { return m_widthFactor; }
  Acad::ErrorStatus setWidthFactor(double w);
  double oblique() const { return m_oblique; }
  Acad::ErrorStatus setOblique(double a);
  AcDb::TextHorzMode horizontalMode() const { return m_horzMode; }
  Acad::ErrorStatus setHorizontalMode(AcDb::TextHorzMode mode);
  AcDb::TextVertMode verticalMode() const { return m_vertMode; }
  Acad::ErrorStatus setVerticalMode(AcDb::TextVertMode mode);
  bool isMirroredInX() const { return (m_generation & 2) != 0; }
  Acad::ErrorStatus mirroredInX(bool mirror);
  bool isMirroredInY() const { return (m_generation & 4) != 0; }
  Acad::ErrorStatus mirroredInY(bool mirror);
  AcGeVector3d normal() const { return m_normal; }
  Acad::ErrorStatus setNormal(const AcGeVector3d& v);

  Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;

 protected:
  void dxfOutFields(standin::DxfOut& out) const override;
  // The text groups of the AcDbText subclass, shared by attributes and their definitions.
  void textFields(standin::DxfOut& out, bool withSecondMarker) const;
  // The box the text would fill if it read text.
  void textBox(standin::Shape& shape, const std::wstring& text) const;
  void copyTextFrom(const AcDbText& other);

 private:
  friend struct standin::DbAccess;
  // The style's name (this stand-in keeps no text style table; "Standard" by default).
  const std::wstring& standinStyle() const { return m_style; }
  void standinSetStyle(const std::wstring& style) { m_style = style; }
  void standinShape(standin::Shape& shape) const override;
  AcGePoint3d m_position, m_alignment;
  AcGeVector3d m_normal{0, 0, 1};
  std::wstring m_text;
  std::wstring m_style = L"Standard";
  double m_height = 0, m_rotation = 0, m_widthFactor = 1, m_oblique = 0, m_thickness = 0;
  AcDb::TextHorzMode m_horzMode = AcDb::kTextLeft;
  AcDb::TextVertMode m_vertMode = AcDb::kTextBase;
  int m_generation = 0;
};

// An attribute definition in a block definition: the tag, the prompt and the default value.
class AcDbAttributeDefinition : public AcDbText {
 public:
  ACRX_DECLARE_MEMBERS(AcDbAttributeDefinition);
  AcDbAttributeDefinition() = default;
  AcDbAttributeDefinition(const AcGePoint3d& position, const ACHAR* text, const ACHAR* tag, const ACHAR* prompt,
                          AcDbObjectId style = AcDbObjectId::kNull);
  // Malloc'ed copies the caller frees.
  ACHAR* tag() const;
  ACHAR* prompt() const;
  const ACHAR* tagConst() const { return m_tag.c_str(); }
  const ACHAR* promptConst() const { return m_prompt.c_str(); }
  Acad::ErrorStatus setTag(const ACHAR* tag);
  Acad::ErrorStatus setPrompt(const ACHAR* prompt);
  bool isInvisible() const { return (m_flags & 1) != 0; }
  Acad::ErrorStatus setInvisible(bool value);
  bool isConstant() const { return (m_flags & 2) != 0; }
  Acad::ErrorStatus setConstant(bool value);
  bool isVerifiable() const { return (m_flags & 4) != 0; }
  bool isPreset() const { return (m_flags & 8) != 0; }

 protected:
  void dxfOutFields(standin::DxfOut& out) const override;

 private:
  friend struct standin::DbAccess;
  int standinFlags() const { return m_flags; }
  void standinSetFlags(int flags) { m_flags = flags; }
  void standinShape(standin::Shape& shape) const override;
  std::wstring m_tag, m_prompt;
  int m_flags = 0;
};

// An attribute of a block reference: a tag and its value, drawn as text.
class AcDbAttribute : public AcDbText {
 public:
  ACRX_DECLARE_MEMBERS(AcDbAttribute);
  AcDbAttribute() = default;
  AcDbAttribute(const AcGePoint3d& position, const ACHAR* text, const ACHAR* tag,
                AcDbObjectId style = AcDbObjectId::kNull);
  ACHAR* tag() const;
  const ACHAR* tagConst() const { return m_tag.c_str(); }
  Acad::ErrorStatus setTag(const ACHAR* tag);
  bool isInvisible() const { return (m_flags & 1) != 0; }
  Acad::ErrorStatus setInvisible(bool value);
  bool isConstant() const { return (m_flags & 2) != 0; }
  // Takes the definition's tag, flags, default value and text properties, placed by the
  // block transform of the reference.
  Acad::ErrorStatus setAttributeFromBlock(const AcDbAttributeDefinition* pAttdef, const AcGeMatrix3d& blkXform);

 protected:
  void dxfOutFields(standin::DxfOut& out) const override;

 private:
  friend struct standin::DbAccess;
  int standinFlags() const { return m_flags; }
  void standinSetFlags(int flags) { m_flags = flags; }
  void standinShape(standin::Shape& shape) const override;
  std::wstring m_tag;
  int m_flags = 0;
};

// The end of the sub-entities of a block reference with attributes or an old-style polyline.
class AcDbSequenceEnd : public AcDbEntity {
 public:
  ACRX_DECLARE_MEMBERS(AcDbSequenceEnd);

 protected:
  void dxfOutFields(standin::DxfOut& out) const override;
};

// Walks the attributes of a block reference or the vertices of a polyline.
class AcDbObjectIterator {
 public:
  bool done() const { return m_at >= m_ids.size(); }
  void step(bool backwards = false, bool skipErasedObjects = true);
  void start(bool atEnd = false);
  AcDbObjectId objectId() const { return done() ? AcDbObjectId::kNull : m_ids[m_at]; }

 private:
  friend class AcDbBlockReference;
  friend class AcDb2dPolyline;
  friend class AcDb3dPolyline;
  explicit AcDbObjectIterator(std::vector<AcDbObjectId> ids);
  void skipErased(bool backwards);
  std::vector<AcDbObjectId> m_ids;
  size_t m_at = 0;
};

// An insertion of a block definition, with its attributes.
class AcDbBlockReference : public AcDbEntity {
 public:
  ACRX_DECLARE_MEMBERS(AcDbBlockReference);
  AcDbBlockReference() = default;
  AcDbBlockReference(const AcGePoint3d& position, AcDbObjectId blockTableRec)
      : m_position(position), m_block(blockTableRec) {}

  AcDbObjectId blockTableRecord() const { return m_block; }
  Acad::ErrorStatus setBlockTableRecord(AcDbObjectId id);
  AcGePoint3d position() const { return m_position; }
  Acad::ErrorStatus setPosition(const AcGePoint3d& pt);
  AcGeScale3d scaleFactors() const { return m_scale; }
  // eInvalidInput for a zero factor.
  Acad::ErrorStatus setScaleFactors(const AcGeScale3d& scale);
  double rotation() const { return m_rotation; }
  Acad::ErrorStatus setRotation(double r);
  AcGeVector3d normal() const { return m_normal; }
  Acad::ErrorStatus setNormal(const AcGeVector3d& v);
  // From the block definition's coordinates (relative to its origin) to the world.
  AcGeMatrix3d blockTransform() const;

  // The attribute joins the reference's drawing, owned by the reference, after the ones it
  // has; it stays open for write. REQUIRES the reference open for write and in a drawing
  // (eNotInDatabase otherwise).
  Acad::ErrorStatus appendAttribute(AcDbAttribute* pAttr);
  Acad::ErrorStatus appendAttribute(AcDbObjectId& attId, AcDbAttribute* pAttr);
  // The caller deletes the iterator.
  AcDbObjectIterator* attributeIterator() const;

  Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;

 protected:
  void dxfOutFields(standin::DxfOut& out) const override;

 private:
  friend struct standin::DbAccess;
  void standinShape(standin::Shape& shape) const override;
  std::vector<AcDbObjectId> standinSubEntities() const override;
  void standinAdoptSequenceEnd(AcDbObjectId seqend) { m_seqend = seqend; }
  void standinAdoptAttribute(AcDbObjectId attribute) { m_attributes.push_back(attribute); }
  AcGePoint3d m_position;
  AcDbObjectId m_block;
  AcGeScale3d m_scale;
  double m_rotation = 0;
  AcGeVector3d m_normal{0, 0, 1};
  std::vector<AcDbObjectId> m_attributes;
  AcDbObjectId m_seqend;
};

// What the stand-in keeps of an old-style polyline: its flags (group 70), vertices and sequence end.
#define STANDIN_VERTEX_OWNER                                                     \
  friend struct standin::DbAccess;                                               \
  int standinFlags() const { return m_flags; }                                   \
  void standinSetFlags(int flags) { m_flags = flags; }                           \
  void standinShape(standin::Shape& shape) const override;                       \
  std::vector<AcDbObjectId> standinSubEntities() const override;                 \
  void standinAdoptSequenceEnd(AcDbObjectId seqend) { m_seqend = seqend; }       \
  void standinAdoptVertex(AcDbObjectId vertex) { m_vertices.push_back(vertex); } \
  std::vector<AcDbObjectId> m_vertices;                                          \
  AcDbObjectId m_seqend;

// A vertex of an old-style 2D polyline; its position holds the polyline's elevation as z.
class AcDb2dVertex : public AcDbEntity {
 public:
  ACRX_DECLARE_MEMBERS(AcDb2dVertex);
  AcDb2dVertex() = default;
  explicit AcDb2dVertex(const AcGePoint3d& position, double bulge = 0, double startWidth = 0, double endWidth = 0)
      : m_position(position), m_bulge(bulge), m_startWidth(startWidth), m_endWidth(endWidth) {}
  AcGePoint3d position() const { return m_position; }
  Acad::ErrorStatus setPosition(const AcGePoint3d& pt);
  double bulge() const { return m_bulge; }
  Acad::ErrorStatus setBulge(double bulge);
  double startWidth() const { return m_startWidth; }
  double endWidth() const { return m_endWidth; }
  Acad::ErrorStatus setStartWidth(double w);
  Acad::ErrorStatus setEndWidth(double w);

 protected:
  void dxfOutFields(standin::DxfOut& out) const override;

 private:
  friend struct standin::DbAccess;
  int standinFlags() const { return m_flags; }
  void standinSetFlags(int flags) { m_flags = flags; }
  friend class AcDb2dPolyline;
  AcGePoint3d m_position;
  double m_bulge = 0, m_startWidth = 0, m_endWidth = 0;
  int m_flags = 0;
};

// An old-style 2D polyline: a header entity followed by its vertices and a sequence end.
class AcDb2dPolyline : public AcDbCurve {
 public:
  ACRX_DECLARE_MEMBERS(AcDb2dPolyline);
  AcDb2dPolyline() = default;

  // The vertex joins the polyline's drawing after the others, owned by the polyline, and stays
  // open for write. REQUIRES the polyline open for write and in a drawing.
  Acad::ErrorStatus appendVertex(AcDb2dVertex* pNewVertex);
  Acad::ErrorStatus appendVertex(AcDbObjectId& objId, AcDb2dVertex* pNewVertex);
  // The caller deletes the iterator.
  AcDbObjectIterator* vertexIterator() const;
  bool isClosed() const override { return (m_flags & 1) != 0; }
  Acad::ErrorStatus makeClosed();
  Acad::ErrorStatus makeOpen();
  double elevation() const { return m_elevation; }
  Acad::ErrorStatus setElevation(double elev);
  AcGeVector3d normal() const { return m_normal; }
  Acad::ErrorStatus setNormal(const AcGeVector3d& v);

  Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;

 protected:
  void dxfOutFields(standin::DxfOut& out) const override;

 private:
  STANDIN_VERTEX_OWNER
  double m_elevation = 0;
  int m_flags = 0;
  AcGeVector3d m_normal{0, 0, 1};
};

// A filled triangle or quadrilateral (SOLID) and a wide line segment (TRACE): four corners in
// the plane of the normal; the third and fourth are swapped along the outline.
class AcDbTrace : public AcDbEntity {
 public:
  ACRX_DECLARE_MEMBERS(AcDbTrace);
  // eInvalidIndex above 3.
  Acad::ErrorStatus getPointAt(Adesk::UInt16 idx, AcGePoint3d& pntRes) const;
  STANDIN_LISTED_ENTITY(AcDbTrace)
};

class AcDbSolid : public AcDbEntity {
 public:
  ACRX_DECLARE_MEMBERS(AcDbSolid);
  Acad::ErrorStatus getPointAt(Adesk::UInt16 idx, AcGePoint3d& pntRes) const;
  STANDIN_LISTED_ENTITY(AcDbSolid)
};

// A three- or four-sided face in space (3DFACE); its corners are world points.
class AcDbFace : public AcDbEntity {
 public:
  ACRX_DECLARE_MEMBERS(AcDbFace);
  Acad::ErrorStatus getVertexAt(Adesk::UInt16 vertexIndex, AcGePoint3d& vertexPoint) const;
  STANDIN_LISTED_ENTITY(AcDbFace)
};

// A vertex of a 3D polyline: a world point.
class AcDb3dPolylineVertex : public AcDbEntity {
 public:
  ACRX_DECLARE_MEMBERS(AcDb3dPolylineVertex);
  AcDb3dPolylineVertex() = default;
  explicit AcDb3dPolylineVertex(const AcGePoint3d& position) : m_position(position) {}
  AcGePoint3d position() const { return m_position; }
  Acad::ErrorStatus setPosition(const AcGePoint3d& pt);

  Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;

 protected:
  void dxfOutFields(standin::DxfOut& out) const override;

 private:
  friend struct standin::DbAccess;
  int standinFlags() const { return m_flags; }
  void standinSetFlags(int flags) { m_flags = flags; }
  AcGePoint3d m_position;
  int m_flags = 32;
};

// A polyline through points in space: a header entity followed by its vertices and a sequence end.
class AcDb3dPolyline : public AcDbCurve {
 public:
  ACRX_DECLARE_MEMBERS(AcDb3dPolyline);
  AcDb3dPolyline() = default;
  // The caller deletes the iterator.
  AcDbObjectIterator* vertexIterator() const;
  bool isClosed() const override { return (m_flags & 1) != 0; }

  Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;

 protected:
  void dxfOutFields(standin::DxfOut& out) const override;

 private:
  STANDIN_VERTEX_OWNER
  int m_flags = 8;
};

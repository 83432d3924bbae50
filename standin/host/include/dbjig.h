// Just enough of the host's jigs, behaving as the host's do: drag() shows the prompt and, for every
// move of the user's cursor, calls sampler() (which acquires the cursor's point), then, when the
// sample changed something, update() and entity(), and draws that entity; a click, Enter or Esc
// ends the drag.
#pragma once

#include <acadstrc.h>
#include <acarray.h>
#include <dbid.h>
#include <gepnt3d.h>
#include <rxobject.h>

#include <string>

class AcDbDimData;
class AcDbEntity;
typedef AcArray<AcDbDimData*> AcDbDimDataPtrArray;

class AcEdJig : public AcRxObject {
 public:
  enum UserInputControls {
    kGovernedByOrthoMode = 0x000001,
    kNullResponseAccepted = 0x000002,
    kDontEchoCancelForCtrlC = 0x000004,
    kDontUpdateLastPoint = 0x000008,
    kNoDwgLimitsChecking = 0x000010,
    kNoZeroResponseAccepted = 0x000020,
    kNoNegativeResponseAccepted = 0x000040,
    kAccept3dCoordinates = 0x000080,
    kAcceptMouseUpAsPoint = 0x000100,
    kAnyBlankTerminatesInput = 0x000200,
    kInitialBlankTerminatesInput = 0x000400,
    kAcceptOtherInputString = 0x000800,
    kGovernedByUCSDetect = 0x001000,
    kNoZDirectionOrtho = 0x002000,
    kImpliedFaceForUCSChange = 0x004000,
    kUseBasePointElevation = 0x008000,
    kDisableDirectDistanceInput = 0x010000,
  };

  enum DragStatus {
    kModeless = -17,
    kNoChange = -6,
    kCancel = -4,
    kOther = -3,
    kNull = -1,
    kNormal = 0,
    kKW1, kKW2, kKW3, kKW4, kKW5, kKW6, kKW7, kKW8, kKW9,
  };

  enum CursorType {
    kNoSpecialCursor = -1,
    kCrosshair = 0,
    kRectCursor,
    kRubberBand,
    kNotRotated,
    kTargetBox,
    kRotatedCrosshair,
    kCrosshairNoRotate,
    kInvisible,
    kEntitySelect,
    kParallelogram,
    kEntitySelectNoPersp,
    kPkfirstOrGrips,
    kCrosshairDashed,
  };

  AcEdJig();
  ~AcEdJig() override;

  // Runs the drag until the user ends it: the status of the final sample (kNormal for a click,
  // kOther when update() refused the click's sample, kNull for Enter where accepted, kCancel for
  // Esc, kKWn for the n-th keyword of setKeywordList).
  DragStatus drag();
  virtual DragStatus sampler();
  virtual Adesk::Boolean update();
  virtual AcDbEntity* entity() const;
  virtual AcDbDimDataPtrArray* dimData(const double dimScale);
  virtual Acad::ErrorStatus setDimValue(const AcDbDimData* dimData, const double dimValue);

  // The point of the user's cursor, or of the click that ends the drag, in world coordinates;
  // kNormal, kNull (Enter, only with kNullResponseAccepted), kCancel (Esc) or kKWn. The second form
  // shows a rubber band from basePnt (world) and, with kGovernedByOrthoMode and ORTHOMODE on,
  // constrains the point to the snap axes through it.
  DragStatus acquirePoint(AcGePoint3d& point);
  DragStatus acquirePoint(AcGePoint3d& point, const AcGePoint3d& basePnt);

  const ACHAR* dispPrompt();
  void setDispPrompt(const ACHAR* prompt, ...);
  // Keywords as acedInitGet takes them; the n-th one typed ends acquisition with kKWn.
  Acad::ErrorStatus setKeywordList(const ACHAR* keywords);
  const ACHAR* keywordList();

  UserInputControls userInputControls();
  void setUserInputControls(UserInputControls controls);
  CursorType specialCursorType();
  void setSpecialCursorType(CursorType type);

 private:
  std::wstring m_prompt;
  std::wstring m_keywords;
  UserInputControls m_controls = static_cast<UserInputControls>(0);
  CursorType m_cursor = kNoSpecialCursor;
};

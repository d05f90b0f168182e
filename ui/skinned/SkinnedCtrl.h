// SkinnedCtrl: the mix-in that ties one window object (an NWnd or one of its window hosts) to its skin: the
// control's "<skin name>.ini" in the skin category "<category id>" (SkinLoader.h). Every skinned class
// derives from Skinned<its window class> (Skinned.h), which joins the two and answers three node hooks
// through the helpers below:
//   OnCreate  -> SkinnedCreate: registers for skin changes and loads the skin; a skin that does not load
//                fails the creation, and the window is then unregistered at once (the listener list must
//                never hold a window that is freed afterwards);
//   OnDestroy -> SkinnedDestroy: unregisters;
//   OnNotify  -> SkinnedNotify: NOTIFY_SKIN_CHANGED reloads the skin unless the category's skin_change is 0
//                (handled either way); other codes are not handled.
// A derived LoadSkin runs the base LoadSkin first; a derived ReleaseSkin releases its images and then runs
// the base ReleaseSkin.
//
// Life: construct -> SetSkin -> Create (register, load) -> per skin change: reload (releasing the previous
// images and ini first) -> Destroy (unregister) -> destructor (ReleaseSkin of the class).
//
// Thread: user-interface thread only.
#pragma once

#include <cstdint>

#include "ui/base/String.h"

class IniStringContainer;
class NWnd;
class SkinLoader;

class SkinnedCtrl {
 public:
  SkinnedCtrl() = default;
  // Deletes the ini.
  virtual ~SkinnedCtrl();
  SkinnedCtrl(const SkinnedCtrl&) = delete;
  SkinnedCtrl& operator=(const SkinnedCtrl&) = delete;

  // Hook after the control's ini was loaded; a derived window reads its own sections here.
  virtual void OnSkinLoaded() {}
  // Deletes the ini; category and ini become null.
  virtual void ReleaseSkin();
  // ReleaseSkin, then the category by id and the control's ini; OnSkinLoaded. 1 when loaded, 0 when the
  // category or the ini is missing.
  virtual int LoadSkin();

  // Copies the category id and the skin name; called before the window is created. Loads nothing.
  void SetSkin(const wchar_t* category_id, const wchar_t* skin_name);

  SkinLoader* category() const { return category_; }
  IniStringContainer* ini() const { return ini_; }
  const String& category_id() const { return category_id_; }
  const String& skin_name() const { return skin_name_; }

 protected:
  int32_t SkinnedCreate(NWnd* window);
  void SkinnedDestroy(NWnd* window);
  int32_t SkinnedNotify(int32_t code);

 private:
  SkinLoader* category_ = nullptr;
  IniStringContainer* ini_ = nullptr;
  String category_id_;
  String skin_name_;
};

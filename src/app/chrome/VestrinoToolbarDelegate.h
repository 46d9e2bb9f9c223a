#pragma once

namespace vestrino {

// The toolbar's buttons, by tag.
inline constexpr int kTagCarte = 1;
inline constexpr int kTagLogout = 2;
inline constexpr int kTagInfo = 3;

// How the toolbar talks to the visible screen.
class VestrinoToolbarDelegate {
public:
    virtual ~VestrinoToolbarDelegate() = default;
    virtual int getTagOfSelectedButton() = 0;
    virtual void showLogout() = 0;
    virtual void showInfo() = 0;
    virtual void showCarte() = 0;
    virtual bool isLoggedIn() = 0;
};

} // namespace vestrino

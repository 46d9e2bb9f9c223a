#pragma once

#include "ui/AlertView.h"
#include "ui/Label.h"
#include "ui/NavigationController.h"
#include "ui/ScrollView.h"
#include "ui/TableView.h"
#include "ui/TextField.h"
#include "ui/UIApplication.h"
#include "ui/Window.h"

#include <memory>
#include <nlohmann/json.hpp>

namespace gallery {

// The first screen, from its layout: a paging carousel of eight pictures with its page label,
// two text fields, state buttons, an alert with a spinner, a fade and the way to the table.
class GalleryViewController : public vestrino::ui::ViewController,
                              public vestrino::ui::ScrollViewDelegate,
                              public vestrino::ui::AlertViewDelegate {
public:
    std::string layoutName() const override { return "GalleryViewController"; }
    std::string className() const override { return "GalleryViewController"; }
    vestrino::ui::LayoutLoader::Actions layoutActions() override;
    void viewDidLoad() override;

    int currentPage() const;
    const std::shared_ptr<vestrino::ui::AlertView>& alert() const { return alert_; }

    void scrollViewDidScroll(vestrino::ui::ScrollView& scroll) override;
    void scrollViewDidEndDecelerating(vestrino::ui::ScrollView& scroll) override;
    void scrollViewDidEndScrollingAnimation(vestrino::ui::ScrollView& scroll) override;
    void alertViewDidDismissWithButtonIndex(vestrino::ui::AlertView& alert, int index) override;

private:
    void setStatus(const std::string& text);
    template <typename T> std::shared_ptr<T> outletAs(const std::string& name) const {
        return std::dynamic_pointer_cast<T>(outlet(name));
    }

    std::shared_ptr<vestrino::ui::AlertView> alert_;
    bool faded_ = false;
};

// The second screen: a table of 1,000 rows, and a button back.
class TableViewController : public vestrino::ui::ViewController,
                            public vestrino::ui::TableViewDataSource,
                            public vestrino::ui::TableViewDelegate {
public:
    std::string className() const override { return "TableViewController"; }
    void loadView() override;
    int numberOfRows(vestrino::ui::TableView&) override { return 1000; }
    std::shared_ptr<vestrino::ui::TableViewCell> cellForRow(vestrino::ui::TableView& table,
                                                            int row) override;
    void didSelectRow(vestrino::ui::TableView& table, int row) override;
    const std::shared_ptr<vestrino::ui::TableView>& table() const { return table_; }

private:
    std::shared_ptr<vestrino::ui::TableView> table_;
};

// The gallery: the window, the navigation stack and what a snapshot tells of them.
class Gallery : public vestrino::ui::UIApplicationDelegate {
public:
    // Fills the window (a new one unless given).
    explicit Gallery(
        std::shared_ptr<vestrino::ui::Window> window = std::make_shared<vestrino::ui::Window>());
    void
    applicationDidFinishLaunching(const std::shared_ptr<vestrino::ui::Window>& window) override;
    nlohmann::ordered_json describeForSnapshot() override { return describe(); }
    const std::shared_ptr<vestrino::ui::Window>& window() const { return window_; }
    const std::shared_ptr<vestrino::ui::NavigationController>& navigation() const { return nav_; }
    // "screens", "visible", "alert", "firstResponder" for a snapshot.
    nlohmann::ordered_json describe() const;

private:
    std::shared_ptr<vestrino::ui::Window> window_;
    std::shared_ptr<vestrino::ui::NavigationController> nav_;
    std::shared_ptr<GalleryViewController> home_;
};

} // namespace gallery

#include "Gallery.h"

#include "ui/ActivityIndicatorView.h"
#include "ui/Animator.h"
#include "ui/Button.h"
#include "ui/ImageView.h"

#include <cmath>

using namespace vestrino;
using namespace vestrino::ui;

namespace gallery {

namespace {

constexpr int kPages = 8;

// A card picture: a diagonal gradient with rounded corners, made in code.
std::shared_ptr<UIImage> cardPicture(int index) {
    const int w = 280, h = 140;
    const Color from[] = {Color::rgb(11, 61, 145), Color::rgb(245, 166, 35),
                          Color::rgb(39, 174, 96), Color::rgb(142, 68, 173)};
    const Color a = from[index % 4];
    const Color b = Color::rgb(20, 30, 48);
    Image img;
    img.width = w;
    img.height = h;
    img.rgba.resize(static_cast<std::size_t>(w * h * 4));
    const int radius = 14;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const double t = (x + y) / static_cast<double>(w + h);
            auto* p = &img.rgba[static_cast<std::size_t>((y * w + x) * 4)];
            p[0] = static_cast<std::uint8_t>(255 * (a.r + (b.r - a.r) * t));
            p[1] = static_cast<std::uint8_t>(255 * (a.g + (b.g - a.g) * t));
            p[2] = static_cast<std::uint8_t>(255 * (a.b + (b.b - a.b) * t));
            const int cx = x < radius ? radius : (x >= w - radius ? w - radius - 1 : x);
            const int cy = y < radius ? radius : (y >= h - radius ? h - radius - 1 : y);
            p[3] = static_cast<std::uint8_t>(
                255 * std::clamp(radius - std::hypot(x - cx, y - cy) + 0.5, 0.0, 1.0));
        }
    }
    return std::make_shared<UIImage>(std::move(img));
}

} // namespace

LayoutLoader::Actions GalleryViewController::layoutActions() {
    return {
        {"fadeTapped",
         [this](Button&) {
             faded_ = !faded_;
             auto carousel = outlet("carousel");
             Animator::shared().animate(
                 {.duration = 0.4, .name = "fade"}, [&] { carousel->setAlpha(faded_ ? 0.3 : 1.0); },
                 [this](bool finished) {
                     setStatus(finished ? "Sfumatura finita" : "Interrotta");
                 });
         }},
        {"selectTapped",
         [this](Button& b) {
             b.setSelected(!b.selected());
             setStatus(b.selected() ? "Selezionato" : "Non selezionato");
         }},
        {"alertTapped",
         [this](Button&) {
             alert_ = std::make_shared<AlertView>("Attendere", "Caricamento dati in corso...", this,
                                                  std::string("Annulla"),
                                                  std::vector<std::string>{"OK"});
             auto spinner = std::make_shared<ActivityIndicatorView>();
             spinner->setBackgroundColor(Color::rgb(11, 61, 145));
             spinner->startAnimating();
             alert_->setAccessoryView(spinner);
             alert_->show(*view()->window());
         }},
        {"tableTapped",
         [this](Button&) {
             navigationController()->pushViewController(std::make_shared<TableViewController>(),
                                                        true);
         }},
        {"jumpTapped",
         [this](Button&) {
             std::static_pointer_cast<ScrollView>(outlet("carousel"))
                 ->setContentOffset({320.0 * 4, 0}, true);
         }},
    };
}

void GalleryViewController::viewDidLoad() {
    auto carousel = outletAs<ScrollView>("carousel");
    carousel->setDelegate(this);
    for (int i = 0; i < kPages; ++i) {
        auto picture = std::make_shared<ImageView>(cardPicture(i));
        picture->setFrame(makeRect(320.0 * i + 20, 5, 280, 140));
        picture->setTag(100 + i);
        auto caption = std::make_shared<Label>(makeRect(20, 96, 240, 30));
        caption->setText("Carta " + std::to_string(i + 1));
        caption->setFont({"HelveticaNeue-Bold", 20});
        caption->setTextColor(Color::white());
        picture->addSubview(caption);
        carousel->addSubview(picture);
    }
    outletAs<Button>("selectButton")->setTitle("Selezionato", ControlState::Selected);
    outletAs<Button>("selectButton")
        ->setTitleColor(Color::rgb(255, 211, 77), ControlState::Selected);
    outletAs<ActivityIndicatorView>("spinner")->startAnimating();
    scrollViewDidScroll(*carousel);
}

void GalleryViewController::setStatus(const std::string& text) {
    outletAs<Label>("status")->setText(text);
}

int GalleryViewController::currentPage() const {
    // Half way is the page before: offset 480 shows page 2, 481 page 3.
    const double x = std::static_pointer_cast<ScrollView>(outlet("carousel"))->contentOffset().x;
    return static_cast<int>(std::ceil(x / 320.0 - 0.5)) + 1;
}

void GalleryViewController::scrollViewDidScroll(ScrollView&) {
    outletAs<Label>("pageLabel")
        ->setText("Pagina " + std::to_string(std::clamp(currentPage(), 1, kPages)) + " di " +
                  std::to_string(kPages));
}

void GalleryViewController::scrollViewDidEndDecelerating(ScrollView&) {
    setStatus("Fermo a pagina " + std::to_string(currentPage()));
}

void GalleryViewController::scrollViewDidEndScrollingAnimation(ScrollView&) {
    setStatus("Spostato a pagina " + std::to_string(currentPage()));
}

void GalleryViewController::alertViewDidDismissWithButtonIndex(AlertView&, int index) {
    setStatus("Avviso chiuso con il pulsante " + std::to_string(index));
}

void TableViewController::loadView() {
    auto root = std::make_shared<View>(makeRect(0, 0, 320, 392));
    root->setBackgroundColor(Color::white());
    table_ = std::make_shared<TableView>(makeRect(0, 0, 320, 344));
    table_->setName("table");
    table_->setClipsToBounds(true);
    table_->setDataSource(this);
    table_->setTableDelegate(this);
    root->addSubview(table_);
    auto back = std::make_shared<Button>(makeRect(16, 348, 288, 40));
    back->setName("backButton");
    back->setTitle("Indietro", ControlState::Normal);
    back->setTitleColor(Color::white(), ControlState::Normal);
    back->setBackgroundColor(Color::rgb(11, 61, 145));
    back->addTarget([this](Button&) { navigationController()->popViewControllerAnimated(true); });
    root->addSubview(back);
    setView(root);
    table_->reloadData();
}

std::shared_ptr<TableViewCell> TableViewController::cellForRow(TableView& table, int row) {
    auto cell = table.dequeueReusableCell("riga");
    if (!cell) {
        cell = std::make_shared<TableViewCell>("riga");
    }
    cell->textLabel().setText("Movimento " + std::to_string(row + 1));
    return cell;
}

void TableViewController::didSelectRow(TableView&, int) {}

Gallery::Gallery(std::shared_ptr<Window> window) {
    applicationDidFinishLaunching(window);
}

void Gallery::applicationDidFinishLaunching(const std::shared_ptr<Window>& window) {
    window_ = window;
    home_ = std::make_shared<GalleryViewController>();
    nav_ = std::make_shared<NavigationController>(home_);
    window_->addSubview(nav_->view());
    auto title = std::make_shared<Label>(makeRect(0, 0, 320, 44));
    title->setText("Vestrino UI");
    title->setFont({"HelveticaNeue-Bold", 17});
    title->setTextColor(Color::white());
    title->setTextAlignment(TextAlignment::Center);
    nav_->navigationBar()->addSubview(title);
}

nlohmann::ordered_json Gallery::describe() const {
    nlohmann::ordered_json screens = nlohmann::ordered_json::array();
    for (const auto& c : nav_->viewControllers()) {
        screens.push_back(c->className());
    }
    nlohmann::ordered_json alert = nullptr;
    if (auto* a = dynamic_cast<AlertView*>(window_->modalView())) {
        alert = {{"title", a->title()},
                 {"message", a->message()},
                 {"buttons", a->buttonTitles()},
                 {"tag", a->tag()},
                 {"activity", a->accessoryView() != nullptr}};
    }
    const View* responder = window_->firstResponder();
    return {{"screens", screens},
            {"visible", nav_->visibleViewController()->className()},
            {"alert", alert},
            {"firstResponder", responder && !responder->name().empty()
                                   ? nlohmann::ordered_json(responder->name())
                                   : nlohmann::ordered_json(nullptr)}};
}

} // namespace gallery

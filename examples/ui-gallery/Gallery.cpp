#include "Gallery.h"

#include "ui/Animator.h"
#include "ui/ImageView.h"

#include <cmath>

using namespace vestrino;
using namespace vestrino::ui;

namespace gallery {

namespace {

constexpr int kPages = 8;

// A card picture: a diagonal gradient with rounded corners, made in code.
std::shared_ptr<UIImage> cardPicture(int index) {
    const int w = 280, h = 170;
    const Color from[] = {Color::rgb(11, 61, 145), Color::rgb(245, 166, 35), Color::rgb(39, 174, 96),
                          Color::rgb(142, 68, 173)};
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
            const double d = std::hypot(x - cx, y - cy);
            p[3] = static_cast<std::uint8_t>(255 * std::clamp(radius - d + 0.5, 0.0, 1.0));
        }
    }
    return std::make_shared<UIImage>(std::move(img));
}

} // namespace

Gallery::Gallery() : window_(std::make_shared<Window>()) {
    window_->setBackgroundColor(Color::rgb(242, 244, 247));

    auto header = std::make_shared<View>(makeRect(0, 0, 320, 44));
    header->setBackgroundColor(Color::rgb(11, 61, 145));
    auto title = std::make_shared<Label>(makeRect(0, 0, 320, 44));
    title->setText("Vestrino UI");
    title->setFont({"HelveticaNeue-Bold", 17});
    title->setTextColor(Color::white());
    title->setTextAlignment(TextAlignment::Center);
    header->addSubview(title);
    window_->addSubview(header);

    carousel_ = std::make_shared<ScrollView>(makeRect(0, 60, 320, 200));
    carousel_->setName("carousel");
    carousel_->setPagingEnabled(true);
    carousel_->setContentSize({320.0 * kPages, 200});
    carousel_->setDelegate(this);
    for (int i = 0; i < kPages; ++i) {
        auto picture = std::make_shared<ImageView>(cardPicture(i));
        picture->setFrame(makeRect(320.0 * i + 20, 15, 280, 170));
        picture->setTag(100 + i);
        auto caption = std::make_shared<Label>(makeRect(20, 120, 240, 30));
        caption->setText("Carta " + std::to_string(i + 1));
        caption->setFont({"HelveticaNeue-Bold", 20});
        caption->setTextColor(Color::white());
        picture->addSubview(caption);
        carousel_->addSubview(picture);
    }
    window_->addSubview(carousel_);

    pageLabel_ = std::make_shared<Label>(makeRect(0, 265, 320, 20));
    pageLabel_->setName("pageLabel");
    pageLabel_->setTextAlignment(TextAlignment::Center);
    pageLabel_->setFont({"Helvetica", 14});
    pageLabel_->setTextColor(Color::rgb(60, 70, 90));
    window_->addSubview(pageLabel_);

    auto fade = button("Sfuma", 10, 1);
    fade->addTarget([this](Button&) {
        faded_ = !faded_;
        Animator::shared().animate({.duration = 0.4, .name = "fade"},
                                   [this] { carousel_->setAlpha(faded_ ? 0.3 : 1.0); },
                                   [this](bool finished) {
                                       setStatus(finished ? "Sfumatura finita" : "Interrotta");
                                   });
    });
    auto select = button("Seleziona", 113, 2);
    select->setTitle("Selezionato", ControlState::Selected);
    select->addTarget([this](Button& b) {
        b.setSelected(!b.selected());
        setStatus(b.selected() ? "Selezionato" : "Non selezionato");
    });
    auto jump = button("Vai a 5", 216, 3);
    jump->addTarget([this](Button&) { carousel_->setContentOffset({320.0 * 4, 0}, true); });

    status_ = std::make_shared<Label>(makeRect(0, 360, 320, 24));
    status_->setName("status");
    status_->setTextAlignment(TextAlignment::Center);
    status_->setFont({"Helvetica", 14});
    status_->setTextColor(Color::rgb(60, 70, 90));
    window_->addSubview(status_);
    scrollViewDidScroll(*carousel_);
}

std::shared_ptr<Button> Gallery::button(const char* title, double x, int tag) {
    auto b = std::make_shared<Button>(makeRect(x, 300, 94, 40));
    b->setTag(tag);
    b->setBackgroundColor(Color::rgb(11, 61, 145));
    b->setTitle(title, ControlState::Normal);
    b->setTitleColor(Color::white(), ControlState::Normal);
    b->setTitleColor(Color::rgb(255, 211, 77), ControlState::Highlighted);
    b->setTitleColor(Color::rgb(255, 211, 77), ControlState::Selected);
    b->setTitleFont({"HelveticaNeue-Bold", 14});
    window_->addSubview(b);
    return b;
}

void Gallery::setStatus(const std::string& text) {
    status_->setText(text);
}

int Gallery::currentPage() const {
    // Half way is the page before: offset 480 shows page 2, 481 page 3.
    return static_cast<int>(std::ceil(carousel_->contentOffset().x / 320.0 - 0.5)) + 1;
}

void Gallery::scrollViewDidScroll(ScrollView&) {
    pageLabel_->setText("Pagina " + std::to_string(std::clamp(currentPage(), 1, kPages)) + " di " +
                        std::to_string(kPages));
}

void Gallery::scrollViewDidEndDecelerating(ScrollView&) {
    setStatus("Fermo a pagina " + std::to_string(currentPage()));
}

void Gallery::scrollViewDidEndScrollingAnimation(ScrollView&) {
    setStatus("Spostato a pagina " + std::to_string(currentPage()));
}

} // namespace gallery

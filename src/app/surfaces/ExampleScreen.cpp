#include "app/surfaces/ExampleScreen.h"

#include "app/surfaces/CanvasWidget.h"
#include "app/surfaces/OpenGlQuadSurface.h"
#include "document/Pixel.h"
#include "views/SoftwareQuadSurface.h"

#include <QGuiApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLWidget>
#include <QPainter>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <memory>
#include <utility>

namespace glyfora::app {

namespace {

const QString ScreenName = QStringLiteral("ExampleScreen");

int BackBufferWidth(const QWidget& widget) {
    return std::clamp(widget.width(), 0, ExampleBackBufferWidth);
}

int BackBufferHeight(const QWidget& widget) {
    return std::clamp(widget.height(), 0, ExampleBackBufferHeight);
}

// Draws with the software surface into an image and paints that.
class SoftwareExampleScreen final : public QWidget, public ExampleScreen {
public:
    SoftwareExampleScreen(QWidget* parent, ExampleFrameDrawer drawFrame)
        : QWidget(parent), drawFrame_(std::move(drawFrame)) {
        setObjectName(ScreenName);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

    QWidget* Widget() override { return this; }
    void RequestFrame() override { update(); }
    bool UsesOpenGl() const override { return false; }
    QImage GrabFrame() override { return grab().toImage(); }
    std::int64_t FramesDrawn() const override { return frames_; }

protected:
    void paintEvent(QPaintEvent* /*event*/) override {
        const int width = BackBufferWidth(*this);
        const int height = BackBufferHeight(*this);
        if (surface_.Target.Width != width || surface_.Target.Height != height) {
            surface_ = views::SoftwareQuadSurface(width, height);
        }
        DrawExampleFrame(surface_, drawFrame_);
        ++frames_;

        QPainter painter(this);
        painter.fillRect(rect(), ViewBackgroundColour());
        if (!surface_.Target.Pixels.empty()) {
            const QImage picture(reinterpret_cast<const uchar*>(surface_.Target.Pixels.data()),
                                 width, height, width * 4, QImage::Format_RGBA8888);
            painter.drawImage(0, 0, picture);
        }
    }

private:
    ExampleFrameDrawer drawFrame_;
    views::SoftwareQuadSurface surface_{0, 0};
    std::int64_t frames_ = 0;
};

class OpenGlExampleScreen final : public QOpenGLWidget, public ExampleScreen {
public:
    OpenGlExampleScreen(QWidget* parent, ExampleFrameDrawer drawFrame, int tileSizeLimit)
        : QOpenGLWidget(parent), drawFrame_(std::move(drawFrame)), tileSizeLimit_(tileSizeLimit) {
        setObjectName(ScreenName);
    }

    ~OpenGlExampleScreen() override {
        // QOpenGLWidget's own destructor destroys the context, after this class is gone.
        if (context() != nullptr) {
            disconnect(context(), nullptr, this, nullptr);
        }
        ReleaseSurface();
    }

    QWidget* Widget() override { return this; }
    void RequestFrame() override { update(); }
    bool UsesOpenGl() const override { return true; }
    QImage GrabFrame() override { return grabFramebuffer(); }
    std::int64_t FramesDrawn() const override { return frames_; }

protected:
    void initializeGL() override {
        // The context is replaced when the widget moves to another window; the textures go with
        // the old one.
        connect(context(), &QOpenGLContext::aboutToBeDestroyed, this,
                &OpenGlExampleScreen::ReleaseSurface, Qt::UniqueConnection);
        surface_ = std::make_unique<OpenGlQuadSurface>(tileSizeLimit_);
        if (!surface_->IsValid()) {
            qWarning("ExampleScreen: the OpenGL shaders could not be built; no text is drawn");
        }
    }

    void paintGL() override {
        if (!surface_) {
            return;
        }
        const double scale = devicePixelRatioF();
        const int framebufferHeight = static_cast<int>(std::lround(height() * scale));
        surface_->BeginFrame(framebufferHeight, BackBufferWidth(*this), BackBufferHeight(*this),
                             scale);
        DrawExampleFrame(*surface_, drawFrame_);
        surface_->EndFrame();
        ++frames_;
    }

private:
    void ReleaseSurface() {
        if (!surface_) {
            return;
        }
        makeCurrent();
        surface_.reset();
        doneCurrent();
    }

    ExampleFrameDrawer drawFrame_;
    int tileSizeLimit_ = 0;
    std::unique_ptr<OpenGlQuadSurface> surface_;
    std::int64_t frames_ = 0;
};

} // namespace

void DrawExampleFrame(views::QuadSurface& surface, const ExampleFrameDrawer& drawFrame) {
    surface.Clear(document::ColourOf(views::ViewBackground));
    surface.SetBlendMode(views::BlendFactor::SourceAlpha, views::BlendFactor::OneMinusSourceAlpha);
    if (drawFrame) {
        drawFrame(surface);
    }
}

bool OpenGlScreenAvailable() {
    // QOpenGLWidget needs a window system; on offscreen, minimal and the like it crashes.
    const QString platform = QGuiApplication::platformName();
    if (platform != QStringLiteral("xcb") && platform != QStringLiteral("wayland")) {
        return false;
    }
    QOpenGLContext context;
    if (!context.create()) {
        return false;
    }
    QOffscreenSurface surface;
    surface.setFormat(context.format());
    surface.create();
    const bool usable = surface.isValid() && context.makeCurrent(&surface);
    if (usable) {
        context.doneCurrent();
    }
    return usable;
}

ExampleScreen* CreateExampleScreen(QWidget* parent, ExampleFrameDrawer drawFrame,
                                   const ExampleScreenOptions& options) {
    if (!options.ForceSoftware && OpenGlScreenAvailable()) {
        return new OpenGlExampleScreen(parent, std::move(drawFrame), options.TileSizeLimit);
    }
    return new SoftwareExampleScreen(parent, std::move(drawFrame));
}

} // namespace glyfora::app

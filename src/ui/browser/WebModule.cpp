#include "ui/browser/WebModule.h"

#include "ui/platform/ModuleLibrary.h"

#include <QCoreApplication>
#include <QOpenGLContext>

// Qt's own, as the web engine declares it.
QT_BEGIN_NAMESPACE
Q_GUI_EXPORT void qt_gl_set_global_share_context(QOpenGLContext* context);
QT_END_NAMESPACE

namespace {

// The engine draws through an OpenGL context shared with the windows'. Qt
// makes it at the start when the program asks for it before QApplication,
// which loads the OpenGL driver (under X11 a software one with a compiler
// of its own) into every run; here it is made as Qt would, at the first web
// view, before the engine's library is loaded.
void ShareOpenGLContexts()
{
    if (QOpenGLContext::globalShareContext())
        return;
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    auto* context = new QOpenGLContext(QCoreApplication::instance());
    context->create();
    qt_gl_set_global_share_context(context);
}

} // namespace

WebModule* WebModule::Load(Prompter& prompter)
{
    static WebModule* loaded = nullptr;
    if (loaded)
        return loaded;
    ShareOpenGLContexts();
    using Entry = WebModule* (*)();
    if (const auto entry =
            reinterpret_cast<Entry>(ModuleLibrary::Entry(QStringLiteral("sorafumi-web"), "SorafumiWebModule", prompter)))
        loaded = entry();
    return loaded;
}

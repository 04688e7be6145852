#include "windows/frm_readme.h"

#include <QFileInfo>
#include <QImage>
#include <QKeyEvent>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace velmar {

namespace {

// The README is a few dozen kilobytes; the bound only keeps a stray file from being read whole.
constexpr qint64 kMaxReadmeBytes = 4 << 20;
// Screenshots are taken on large screens; wider ones are shown at this width.
constexpr int kMaxPictureWidth = 760;

class ReadmeBrowser final : public QTextBrowser {
public:
    using QTextBrowser::QTextBrowser;

protected:
    QVariant loadResource(int type, const QUrl& name) override
    {
        QVariant resource = QTextBrowser::loadResource(type, name);
        if (type != QTextDocument::ImageResource || resource.typeId() != QMetaType::QByteArray)
            return resource;
        QImage picture;
        if (!picture.loadFromData(resource.toByteArray()))
            return resource;
        if (picture.width() > kMaxPictureWidth)
            picture = picture.scaledToWidth(kMaxPictureWidth, Qt::SmoothTransformation);
        return picture;
    }
};

}  // namespace

frmReadme::frmReadme(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName("frmReadme");
    setWindowTitle("README");
    setAccessibleName("README");
    txtReadme = new ReadmeBrowser(this);
    txtReadme->setObjectName("txtReadme");
    txtReadme->setAccessibleName("README");
    txtReadme->setOpenExternalLinks(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(txtReadme);
}

bool frmReadme::initGUI(const QString& file, QString& reason)
{
    const QFileInfo info(file);
    if (file.isEmpty() || !info.isFile() || !info.isReadable()) {
        reason = "The README was not found beside the program";
        return false;
    }
    if (info.size() > kMaxReadmeBytes) {
        reason = "The README is too large to show";
        return false;
    }
    // As a source, the README's pictures and links are found beside it.
    txtReadme->setSource(QUrl::fromLocalFile(info.absoluteFilePath()), QTextDocument::MarkdownResource);
    if (txtReadme->document()->isEmpty()) {
        reason = "The README cannot be read";
        return false;
    }
    return true;
}

void frmReadme::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape)
        close();
    else
        QWidget::keyPressEvent(event);
}

}  // namespace velmar

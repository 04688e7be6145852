#include "windows/frm_text_edit.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>

#include "editor/edits.h"
#include "expansion/area_room.h"
#include "windows/editor_context.h"
#include "qt_bridge.h"
#include "base/hex.h"
#include "text/text_packer.h"

namespace velmar {

namespace {

QString textName(int n) { return "Text " + qs(hexPad(n, 2)); }

}  // namespace

frmTextEdit::frmTextEdit(const EditorContext& context) : QWidget(&context.window(), Qt::Window), ctx_(context)
{
    setObjectName("frmTextEdit");
    setWindowTitle("Text Editor");
    setAccessibleName("Text Editor");

    txtFilter = new QLineEdit(this);
    txtFilter->setObjectName("txtFilter");
    txtFilter->setAccessibleName("Filter");
    txtFilter->setPlaceholderText("Show only texts containing...");
    lstTextStrings = new QListWidget(this);
    lstTextStrings->setObjectName("lstTextStrings");
    lstTextStrings->setAccessibleName("Texts");
    lstTextStrings->setMinimumSize(560, 360);
    txtSelectedText = new QLineEdit(this);
    txtSelectedText->setObjectName("txtSelectedText");
    txtSelectedText->setAccessibleName("Selected text");
    txtSelectedText->setToolTip("Control codes: \\n new line, \\r, \\c, \\p, \\t with two digits, \\0 end of text");
    lblTextSize = new QLabel(this);
    lblTextSize->setObjectName("lblTextSize");
    lblTextRoom = new QLabel(this);
    lblTextRoom->setObjectName("lblTextRoom");
    lblTextProblem = new QLabel(this);
    lblTextProblem->setObjectName("lblTextProblem");
    lblTextProblem->setStyleSheet("color: #b00000");
    lblTextProblem->setWordWrap(true);

    auto* filterCaption = new QLabel("Find:", this);
    filterCaption->setAccessibleName("Find");
    filterCaption->setBuddy(txtFilter);
    auto* filterRow = new QHBoxLayout;
    filterRow->addWidget(filterCaption);
    filterRow->addWidget(txtFilter, 1);
    auto* info = new QHBoxLayout;
    info->addWidget(lblTextSize);
    info->addStretch();
    info->addWidget(lblTextRoom);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filterRow);
    layout->addWidget(lstTextStrings, 1);
    layout->addWidget(txtSelectedText);
    layout->addLayout(info);
    layout->addWidget(lblTextProblem);

    connect(lstTextStrings, &QListWidget::currentRowChanged, this, &frmTextEdit::lstTextStrings_Click);
    connect(txtSelectedText, &QLineEdit::editingFinished, this, &frmTextEdit::txtSelectedText_LostFocus);
    connect(txtSelectedText, &QLineEdit::textEdited, this, &frmTextEdit::txtSelectedText_Change);
    connect(txtFilter, &QLineEdit::textChanged, this, &frmTextEdit::txtFilter_Change);
    connect(&context.document(), &EditorDocument::changed, this, &frmTextEdit::document_Changed);
}

bool frmTextEdit::initGUI()
{
    selectedText_ = 0;
    {
        const QSignalBlocker block(txtFilter);
        txtFilter->clear();
    }
    if (!loadTexts(true))
        return false;
    select(0);
    return true;
}

bool frmTextEdit::loadTexts(bool tellFailure)
{
    const Document& doc = ctx_.doc();
    const TextList list = decodeAllTexts(doc.romData(), ctx_.workspace().charTable);
    if (!list.status.ok()) {
        // Never a partial list: what is shown is what closing would store.
        if (tellFailure)
            ctx_.dialogs().message(textName(list.failedText) + " cannot be read: " + qs(list.status.message())
                                       + "\nThe texts cannot be edited with this character table.",
                                   Dialogs::Icon::Exclamation);
        return false;
    }
    original_ = list.texts;
    gameTexts_ = list.texts;
    filling_ = true;
    lstTextStrings->clear();
    for (int n = 0; n < static_cast<int>(gameTexts_.size()); ++n)
        lstTextStrings->addItem(listLine(n));
    filling_ = false;
    txtFilter_Change(txtFilter->text());
    return true;
}

QString frmTextEdit::listLine(int n) const
{
    return qs(hexPad(n, 2)) + ": " + qs(gameTexts_[static_cast<std::size_t>(n)]);
}

bool frmTextEdit::hasEdits() const { return gameTexts_ != original_; }

void frmTextEdit::select(int n)
{
    if (n < 0 || n >= static_cast<int>(gameTexts_.size()))
        return;
    selectedText_ = n;
    {
        const QSignalBlocker block(lstTextStrings);
        lstTextStrings->setCurrentRow(n);
    }
    txtSelectedText->setText(qs(gameTexts_[static_cast<std::size_t>(n)]));
    refreshRoom();
}

void frmTextEdit::lstTextStrings_Click(int row)
{
    if (filling_)
        return;
    select(row);
}

void frmTextEdit::txtSelectedText_LostFocus()
{
    if (selectedText_ < 0 || selectedText_ >= static_cast<int>(gameTexts_.size()))
        return;
    gameTexts_[static_cast<std::size_t>(selectedText_)] = ss(txtSelectedText->text());
    lstTextStrings->item(selectedText_)->setText(listLine(selectedText_));
    refreshRoom();
}

void frmTextEdit::txtSelectedText_Change(const QString&)
{
    // The sizes and any problem follow the typing; the text is taken when the box is left.
    refreshRoom();
}

void frmTextEdit::txtFilter_Change(const QString& text)
{
    for (int n = 0; n < lstTextStrings->count(); ++n) {
        QListWidgetItem* item = lstTextStrings->item(n);
        item->setHidden(!text.isEmpty() && !item->text().contains(text, Qt::CaseInsensitive));
    }
}

void frmTextEdit::refreshRoom()
{
    if (gameTexts_.empty())
        return;
    const Document& doc = ctx_.doc();
    std::vector<std::string> texts = gameTexts_;
    texts[static_cast<std::size_t>(selectedText_)] = ss(txtSelectedText->text());
    const TextRoom measured = measureTexts(doc.romData(), ctx_.workspace().charTable, texts, doc.textAreaEnd());
    const int size = measured.sizes[static_cast<std::size_t>(selectedText_)];
    lblTextSize->setText(size < 0 ? textName(selectedText_) + ": cannot be encoded"
                                  : QString("%1: %2 bytes").arg(textName(selectedText_)).arg(size));
    const AreaRoom& room = measured.room;
    lblTextRoom->setText(
        room.fits()
            ? QString("All texts: %1 of %2 bytes, %3 left").arg(room.used).arg(room.capacity).arg(room.left())
            : QString("All texts: %1 of %2 bytes, %3 too many").arg(room.used).arg(room.capacity).arg(-room.left()));
    lblTextSize->setAccessibleName(lblTextSize->text());
    lblTextRoom->setAccessibleName(lblTextRoom->text());
    const std::string& error = measured.errors[static_cast<std::size_t>(selectedText_)];
    lblTextProblem->setText(error.empty() ? QString() : "This text cannot be stored: " + qs(error) + ".");
    lblTextProblem->setAccessibleName(lblTextProblem->text().isEmpty() ? QString("No problem")
                                                                       : lblTextProblem->text());
}

bool frmTextEdit::storeTexts()
{
    txtSelectedText_LostFocus();
    if (!hasEdits())
        return true;
    const TextPackOutcome r = edits::packTexts(ctx_.document().doc(), ctx_.workspace().charTable, gameTexts_);
    if (r.ok()) {
        // What the window holds is the image's again.
        const int keep = selectedText_;
        if (loadTexts(false))
            select(keep);
        return true;
    }
    if (r.failedText >= 0) {
        txtFilter->clear();
        select(r.failedText);
    }
    lblTextProblem->setText(qs(r.reason));
    lblTextProblem->setAccessibleName(lblTextProblem->text());
    return false;
}

void frmTextEdit::dropEdits() { gameTexts_ = original_; }

bool frmTextEdit::settleEdits()
{
    if (!isVisible())
        return true;
    txtSelectedText_LostFocus();
    if (!hasEdits())
        return true;
    switch (ctx_.dialogs().askYesNoCancel("The texts in the Text Editor were edited.\nKeep the text edits?")) {
    case Dialogs::Answer::Yes:
        if (storeTexts())
            return true;
        ctx_.dialogs().message("The texts were not stored: " + lblTextProblem->text(), Dialogs::Icon::Exclamation);
        raise();
        activateWindow();
        return false;
    case Dialogs::Answer::No: dropEdits(); return true;
    case Dialogs::Answer::Cancel: return false;
    }
    return false;
}

void frmTextEdit::document_Changed(const DocumentEvent& event)
{
    // Another file, or an undo or redo of a text edit: the texts shown are the image's, unless
    // the window holds edits of its own, which closing will store over them.
    if (!isVisible() || hasEdits())
        return;
    if (event.kind == DocumentEvent::Kind::Opened || (event.parts & part::Texts)) {
        const int keep = selectedText_;
        if (loadTexts(false))
            select(keep);
        else
            close();
    }
}

void frmTextEdit::closeEvent(QCloseEvent* event)
{
    // When the program exits, the main window has asked about the edits already.
    if (ctx_.exiting()) {
        QWidget::closeEvent(event);
        return;
    }
    if (!storeTexts()) {
        const QString question =
            "The texts were not stored: " + lblTextProblem->text() + "\nClose the Text Editor and drop the text edits?";
        if (ctx_.dialogs().askYesNo(question) != Dialogs::Answer::Yes) {
            event->ignore();
            txtSelectedText->setFocus();
            return;
        }
        dropEdits();
    }
    QWidget::closeEvent(event);
}

void frmTextEdit::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape)
        close();
    else
        QWidget::keyPressEvent(event);
}

}  // namespace velmar

#include "windows/frm_text_edit.h"

#include <QAction>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QStyle>
#include <QVBoxLayout>

#include "editor/edits.h"
#include "expansion/area_room.h"
#include "windows/editor_context.h"
#include "qt_bridge.h"
#include "base/hex.h"
#include "text/text_codec.h"
#include "text/text_packer.h"
#include "windows/window_placement.h"

namespace velmar {

namespace {

QString textName(int n) { return "Text " + qs(hexPad(n, 2)); }

}  // namespace

frmTextEdit::frmTextEdit(const EditorContext& context)
    : QWidget(&context.window(), kEditorWindowFlags), ctx_(context.over(*this))
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
    // The warning sign of a line no taller than its text, so that marking a line moves none.
    const int line = lstTextStrings->fontMetrics().height();
    lstTextStrings->setIconSize(QSize(line, line));
    txtSelectedText = new QLineEdit(this);
    txtSelectedText->setObjectName("txtSelectedText");
    txtSelectedText->setAccessibleName("Selected text");
    txtSelectedText->setToolTip("Control codes: \\n new line, \\r, \\c, \\p, \\t with two digits, \\0 end of text. "
                                "Enter stores the text.");
    actTextWarning_ =
        txtSelectedText->addAction(style()->standardIcon(QStyle::SP_MessageBoxWarning), QLineEdit::TrailingPosition);
    actTextWarning_->setObjectName("actTextWarning");
    actTextWarning_->setVisible(false);
    for (QObject* shown : actTextWarning_->associatedObjects()) {
        if (auto* button = qobject_cast<QWidget*>(shown); button && button != txtSelectedText) {
            button->setObjectName("cmdTextWarning");
            button->setAccessibleName("Warning");
        }
    }
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
    connect(txtSelectedText, &QLineEdit::returnPressed, this, &frmTextEdit::txtSelectedText_Return);
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
        // Never a partial list: what is shown is what the image holds.
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

bool frmTextEdit::followImage(bool keepTyping)
{
    const TextList list = decodeAllTexts(ctx_.doc().romData(), ctx_.workspace().charTable);
    if (!list.status.ok() || gameTexts_.size() != list.texts.size())
        return false;
    const QString typing = txtSelectedText->text();
    keepTyping = keepTyping && ss(typing) != gameTexts_[static_cast<std::size_t>(selectedText_)];
    for (std::size_t n = 0; n < gameTexts_.size(); ++n) {
        if (gameTexts_[n] == original_[n])
            gameTexts_[n] = list.texts[n];
    }
    original_ = list.texts;
    for (int n = 0; n < static_cast<int>(gameTexts_.size()); ++n) {
        lstTextStrings->item(n)->setText(listLine(n));
        markLine(n, problemOf(n, gameTexts_[static_cast<std::size_t>(n)]));
    }
    txtFilter_Change(txtFilter->text());
    select(selectedText_);
    if (keepTyping) {
        txtSelectedText->setText(typing);
        refreshRoom();
    }
    return true;
}

QString frmTextEdit::listLine(int n) const
{
    return qs(hexPad(n, 2)) + ": " + qs(gameTexts_[static_cast<std::size_t>(n)]);
}

bool frmTextEdit::hasEdits() const
{
    return gameTexts_ != original_
        || (selectedText_ < static_cast<int>(gameTexts_.size())
            && ss(txtSelectedText->text()) != gameTexts_[static_cast<std::size_t>(selectedText_)]);
}

void frmTextEdit::select(int n)
{
    if (n < 0 || n >= static_cast<int>(gameTexts_.size()))
        return;
    const int was = selectedText_;
    selectedText_ = n;
    if (was != n && was >= 0 && was < static_cast<int>(gameTexts_.size()))
        markLine(was, problemOf(was, gameTexts_[static_cast<std::size_t>(was)]));
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
    // A line chosen while the box holds typing (from the keyboard, or by a program) leaves the text.
    takeSelected(false);
    select(row);
}

void frmTextEdit::txtSelectedText_Return() { takeSelected(true); }

void frmTextEdit::txtSelectedText_LostFocus() { takeSelected(false); }

void frmTextEdit::takeSelected(bool retry)
{
    const auto n = static_cast<std::size_t>(selectedText_);
    // A question asked while storing takes the focus from the box, which would leave it again.
    if (storing_ || n >= gameTexts_.size())
        return;
    const std::string typed = ss(txtSelectedText->text());
    const bool changed = typed != gameTexts_[n];
    gameTexts_[n] = typed;
    lstTextStrings->item(selectedText_)->setText(listLine(selectedText_));
    // A text held back is asked about again when it changes, or on Enter, not each time the
    // focus passes.
    if (typed != original_[n] && (changed || retry))
        storeText(selectedText_);
    else
        refreshRoom();
}

bool frmTextEdit::storeText(int n)
{
    const auto i = static_cast<std::size_t>(n);
    if (gameTexts_[i] == original_[i])
        return true;
    const CharTable& table = ctx_.workspace().charTable;
    std::string text = gameTexts_[i];
    EndCode endCode = EndCode::Required;
    if (const EncodedText e = encodeText(table, text); e.ok && !hasEndCode(e.bytes)) {
        // Typed over "NEW GAME\0" as "NEW GAME", text 01 would show "NEW GAMECONTINUE": the game
        // reads on into the next text. The end code is added unless the user wants that.
        const QString end = qs(table[kTextEnd]);
        const bool last = n + 1 == static_cast<int>(gameTexts_.size());
        const QString question = last
            ? textName(n) + " has no end code; the last text needs one.\nAdd the end code \"" + end + "\"?"
            : textName(n) + " has no end code, so the game would read on into text " + qs(hexPad(n + 1, 2))
                + " and show both.\nAdd the end code \"" + end + "\" at its end?\n(No stores the text as typed.)";
        storing_ = true;
        const Dialogs::Answer answer = last ? ctx_.dialogs().askYesNo(question, Dialogs::Answer::Yes)
                                            : ctx_.dialogs().askYesNoCancel(question, Dialogs::Answer::Yes);
        storing_ = false;
        if (answer == Dialogs::Answer::Yes)
            text += table[kTextEnd];
        else if (answer == Dialogs::Answer::No && !last)
            endCode = EndCode::MayBeMissing;
        else {
            refreshRoom();
            return false;
        }
    }
    storing_ = true;
    const TextPackOutcome r = edits::setText(ctx_.document().doc(), table, n, text, endCode);
    storing_ = false;
    if (!r.ok()) {
        markLine(n, qs(r.reason));
        if (n == selectedText_) {
            refreshRoom();
            lblTextProblem->setText(qs(r.reason));
            lblTextProblem->setAccessibleName(lblTextProblem->text());
        }
        return false;
    }
    // Stored: the text follows the image again, which may read otherwise (a text without its
    // end code reads on into the next one).
    gameTexts_[i] = original_[i];
    if (!followImage(false))
        dropEdits();
    return true;
}

void frmTextEdit::txtSelectedText_Change(const QString&)
{
    // The sizes and any problem follow the typing; the text is stored when it is left.
    refreshRoom();
}

void frmTextEdit::txtFilter_Change(const QString& text)
{
    for (int n = 0; n < lstTextStrings->count(); ++n) {
        QListWidgetItem* item = lstTextStrings->item(n);
        item->setHidden(!text.isEmpty() && !item->text().contains(text, Qt::CaseInsensitive));
    }
}

QString frmTextEdit::problemOf(int n, const std::string& text) const
{
    if (text == original_[static_cast<std::size_t>(n)])
        return {};
    const CharTable& table = ctx_.workspace().charTable;
    const EncodedText e = encodeText(table, text);
    if (!e.ok)
        return "This text cannot be stored: " + qs(e.error) + ".";
    return qs(endCodeProblem(n, e.bytes, EndCode::Required, table[kTextEnd]));
}

void frmTextEdit::markLine(int n, const QString& problem)
{
    QListWidgetItem* item = lstTextStrings->item(n);
    const bool held = gameTexts_[static_cast<std::size_t>(n)] != original_[static_cast<std::size_t>(n)];
    const QString tip = held ? "Not stored." + (problem.isEmpty() ? QString() : " " + problem) : problem;
    item->setIcon(tip.isEmpty() ? QIcon() : style()->standardIcon(QStyle::SP_MessageBoxWarning));
    item->setToolTip(tip);
    item->setData(Qt::AccessibleDescriptionRole, tip);
}

void frmTextEdit::refreshRoom()
{
    if (gameTexts_.empty())
        return;
    const Document& doc = ctx_.doc();
    std::vector<std::string> texts = gameTexts_;
    const std::string typed = ss(txtSelectedText->text());
    texts[static_cast<std::size_t>(selectedText_)] = typed;
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
    // Shown at once, in the box, on the list line and below: a text without its end code runs on.
    const QString problem = problemOf(selectedText_, typed);
    lblTextProblem->setText(problem);
    lblTextProblem->setAccessibleName(problem.isEmpty() ? QString("No problem") : problem);
    actTextWarning_->setVisible(!problem.isEmpty());
    actTextWarning_->setToolTip(problem);
    txtSelectedText->setAccessibleDescription(problem);
    markLine(selectedText_, problem);
}

bool frmTextEdit::storeTexts()
{
    takeSelected(false);
    for (int n = 0; n < static_cast<int>(gameTexts_.size()); ++n) {
        if (gameTexts_[static_cast<std::size_t>(n)] == original_[static_cast<std::size_t>(n)])
            continue;
        if (n != selectedText_) {
            txtFilter->clear();
            select(n);
        }
        if (!storeText(n))
            return false;
    }
    return true;
}

void frmTextEdit::dropEdits()
{
    gameTexts_ = original_;
    for (int n = 0; n < static_cast<int>(gameTexts_.size()); ++n) {
        lstTextStrings->item(n)->setText(listLine(n));
        markLine(n, {});
    }
    select(selectedText_);
}

bool frmTextEdit::settleEdits()
{
    if (!isVisible())
        return true;
    takeSelected(false);
    if (!hasEdits())
        return true;
    QStringList held;
    for (int n = 0; n < static_cast<int>(gameTexts_.size()); ++n) {
        if (gameTexts_[static_cast<std::size_t>(n)] != original_[static_cast<std::size_t>(n)])
            held << qs(hexPad(n, 2));
    }
    const QString question = (held.size() == 1 ? "Text " + held[0] + " in the Text Editor is"
                                               : "Texts " + held.join(", ") + " in the Text Editor are")
        + " not stored.\nGo on without " + (held.size() == 1 ? "it" : "them") + "?";
    if (ctx_.dialogs().askYesNo(question) == Dialogs::Answer::Yes) {
        dropEdits();
        return true;
    }
    txtFilter->clear();
    select(held[0].toInt(nullptr, 16));
    raise();
    activateWindow();
    return false;
}

void frmTextEdit::document_Changed(const DocumentEvent& event)
{
    // Another file, or an undo or redo of a text edit: the texts shown are the image's, with those
    // the window could not store kept. The window's own edits are taken in where they are made.
    if (!isVisible() || storing_)
        return;
    if (event.kind == DocumentEvent::Kind::Opened) {
        const int keep = selectedText_;
        if (loadTexts(false))
            select(keep);
        else
            close();
    } else if ((event.parts & part::Texts) && !followImage(true)) {
        dropEdits();
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

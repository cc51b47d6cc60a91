// The "Details" pane: explains one received line in words, field by field (what
// the sentence is, who sent it, whether its checksum is right, each field with
// its value in its unit, the AIS message it completes).
#pragma once

#include "sentence/SentenceDecoder.h"

#include <QPlainTextEdit>

#include <string>
#include <vector>

namespace kvl {

class TDetailsPane : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit TDetailsPane(QWidget* parent = nullptr);

    // Explains line. The lines before it, oldest first, give an AIS fragment the
    // fragments it continues; only AIS lines among them are decoded.
    void Explain(const std::string& line, const std::vector<std::string>& before = {});
    // A text of the pane's own instead of an explanation (nothing pointed at yet).
    void ShowHint(const QString& text);
    // A note above the explanation ("the traffic view is held ..."); empty for none.
    void SetNote(const QString& note);

    const std::string& ExplainedLine() const { return Current; }

private:
    void Show();

    TSentenceDecoder Decoder;
    std::string Current;
    QString Note;
    QString Body;
};

} // namespace kvl

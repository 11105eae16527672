#pragma once

#include <QByteArray>

namespace halcyra {

class Catalogue;

// The questionnaire a client fills in on a computer ("HCYQ.doc", sent by e-mail): the same
// title, detail blanks, instructions and lists as the printout, as a Rich Text document, which
// every common word processor opens, edits and saves.
QByteArray questionnaireRtf(const Catalogue& catalogue);

} // namespace halcyra

#pragma once

#include <QString>

// The default description of the selected alternative, built as one rich-text document from
// the alternative's own description and those of its outcomes.
namespace worksheets::comparison_complexity {

// The sentence a description with a Fallback opens with.
QString FallbackOpening();

// "This alternative includes a Fallback outcome.", a blank line, the alternative's text, a
// blank line, "Target:" and a blank line before the Target's text, then "Fallback:" and a
// blank line before the Fallback's text.
QString BuildFallbackDescription(const QString& altBody, const QString& targetDescription,
                                 const QString& fallbackDescription);
// The alternative's text, a blank line, the Target's text; no labels.
QString BuildTargetOnlyDescription(const QString& altBody, const QString& targetDescription);

// True for a stored description whose visible text opens as a built one with a Fallback does.
bool IsBuiltFallbackDescription(const QString& body);

// A built description is built again from the current descriptions when the worksheet opens,
// but only while it is still the text last built: the data file keeps a fingerprint of that
// text (the property "BuiltDescription"), so whatever the user added to it, here or on the
// Report Topics worksheet, is never built over.
void NoteBuiltDescription(const QString& body);
bool IsUneditedBuiltDescription(const QString& body);

} // namespace worksheets::comparison_complexity

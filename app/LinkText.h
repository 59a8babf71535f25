#pragma once
// Links built from trailer texts, and the vetting of what may be handed to the
// desktop's "open": only mailto:, http: and https: links.
#include <string>

// Percent-encodes a cp1252 text for a URL query part (as UTF-8).
std::string PercentEncode(const std::string& cp1252);

// The links of the sender's two fields, decided once on the field's text
// without the white-space and control characters around it: a "mailto:" link
// (any letter case) counts for its address alone, percent-encoded, so the
// sender can add no query (nothing attached, copied or written for them).
// The e-mail field always gives a mail link, with subject and body; exeName
// is the program's file name as the system spells it.
std::string SenderMailLink(const std::string& email, const std::string& title, const std::string& exeName,
                           const std::string& created);
// The web-site field: a mail link, or the field vetted as a web link (empty
// when it may not be opened).
std::string SenderWebLink(const std::string& webSite);

// The link a label may open: mailto:/http:/https: as given, a bare host name
// with "http://" put in front; empty when the text is anything else.
std::string VetLink(const std::string& link);

// What a link label opens when clicked: its link, or its caption when it has
// none, vetted.
std::string LabelLink(const std::string& url, const std::string& caption);

// The file-name part of a path written on any system ('/' or '\\' folders).
std::string BareFileName(const std::string& path);

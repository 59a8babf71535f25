#pragma once
// Links built from trailer texts, and the vetting of what may be handed to the
// desktop's "open": only mailto:, http: and https: links.
#include <string>

// Percent-encodes a cp1252 text for a URL query part (as UTF-8).
std::string PercentEncode(const std::string& cp1252);

// "mailto:" link to the sender with subject and body; a "mailto:" link in the
// address field counts for its address only.
std::string SenderMailLink(const std::string& email, const std::string& title, const std::string& exeName,
                           const std::string& created);

// The link of the web-site field: a "mailto:" link becomes its bare address,
// encoded as the e-mail field's (no query: nothing attached or added).
std::string SenderWebLink(const std::string& webSite);

// The link a label may open: mailto:/http:/https: as given, a bare host name
// with "http://" put in front; empty when the text is anything else.
std::string VetLink(const std::string& link);

// The file-name part of a path written on any system ('/' or '\\' folders).
std::string BareFileName(const std::string& path);

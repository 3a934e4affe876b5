// The job file's schema as text for people: the lines of `jobini schema` and
// the key reference docs/job-file.md (`jobini schema --markdown`).
#ifndef SETUP_TOOLS_JOB_REFERENCE_H
#define SETUP_TOOLS_JOB_REFERENCE_H

#include <string>

// One tab-separated line per key, after a header line: key, type, default,
// load rule, what the transfer copies, who writes it, whether an export
// carries it.
std::string SchemaTable();

// The key reference in Markdown, grouped by the tab or dialog that shows the
// keys, then by section.
std::string SchemaReference();

#endif

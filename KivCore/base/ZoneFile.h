#pragma once

// The local time zone, loaded once per process.
namespace kiv::ZoneFile {

// While TZ is unset the C library looks at the zone file again on every local-time conversion,
// one file-system call each; the archive library converts the time of every zip member, so a
// zip of 100,000 members cost 200,000 such calls. Naming the same default zone file in TZ keeps
// it loaded (a zone changed while the program runs is then seen at its next start). Does
// nothing when TZ is set or there is no default zone file. Call first in main, before any
// thread starts: it changes the environment.
void keepLoaded();

} // namespace kiv::ZoneFile

#pragma once
// Where the web browsers of this system keep their disk caches: the folders
// that take the place of the browsers' registry entries for the cache
// clean-up.

#include <QString>
#include <QStringList>

namespace plat {

// The cache folders that exist, in drive form, each once, in this order:
// under the user's cache folder ($XDG_CACHE_HOME, else ~/.cache), then under
// each Flatpak application's (~/.var/app/<id>/cache) and each snap's
// (~/snap/<name>/common/.cache), applications in name order. Below each of
// these: Firefox's <profile>/cache2/entries under mozilla/firefox, then the
// Chromium family's <profile>/Cache/Cache_Data (older: <profile>/Cache) under
// chromium, google-chrome, BraveSoftware/Brave-Browser, microsoft-edge and
// vivaldi; profiles in name order. A link anywhere below the home or cache
// folder is never followed, so a folder reached only through one is left out.
QStringList browserCacheFolders();

}  // namespace plat

#pragma once

#include "propertybag.h"

#include <QString>

// The planner page a folder's home page names, read as the control's property bag: the frame
// page at the folder's web view address names the planner page (a frame or iframe source), whose
// <param name=… value=…> elements are the properties. False when either page cannot be read.
bool ReadHomePage(const QString &frameUrl, MapPropertyBag &bag);

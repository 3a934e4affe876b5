// Identifiers of the resources in setup.rc.
#ifndef SETUP_RES_RESOURCE_H
#define SETUP_RES_RESOURCE_H

#define SETUP_VERSION_COMMAS 0, 2, 0, 2
#define SETUP_VERSION_TEXT "0.2.0.2"

#endif

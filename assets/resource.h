/* Resource identifiers, shared by the resource script and the code. */
#ifndef QX_RESOURCE_H
#define QX_RESOURCE_H

#define IDI_APP 1
#define IDB_LOGO 101
#define IDB_PASSWORD 102
#define IDB_COMPILE 103
#define IDB_ICON50 104

#endif

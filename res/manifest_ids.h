/* Resource ID of the manifest that the program activates for its windows and
   boxes (common controls 6). It lies above the IDs 1 to 16 that loaders look
   for on their own: Wine makes an activation context of ID 2 for every module
   it loads, the program included, which would cost every command-line run a
   search through the side-by-side store. */
#define VELBROOK_VISUAL_STYLES_MANIFEST_ID 100

/* The last input of the setup's and the uninstaller's link: an object that is
   neither LTO code nor an archive member, which the compiler driver links
   after every library as its end file (cmake/windows.cmake), where crtend.o
   stands in an ordinary link. It defines nothing and adds no byte to the
   program; that it is there at all is what counts.

   binutils 2.40's ld, after the link-time code generation, rescans the
   archives for the calls the generated code makes (abort, memcmp, strcmp...
   from libmsvcrt.a) and splices the members it loads into its file chain
   right after the last member the same archive gave before. When that member
   ends the chain, the splice leaves the chain's tail pointer where it was
   (lang_process, ldlang.c), and the next file added, the PE back end's own
   "dll stuff" that carries .reloc, overwrites the link to the spliced
   members. Their sections are then never given an output section, and
   generate_reloc (pe-dll.c) dies reading their output_section. With an
   object after every archive, the chain never ends in an archive member. */
